#pragma once

#include "storage/page_settings.h"

#include <functional>
#include <string>

namespace orvane {

class Window;
class WorkQueue;

// Stores one setting of section "配置" in the information file, keeping
// the rest of the file, on the file queue. A failure is told in a box, and
// `failed` puts the setting's control back to what the file holds.
void StoreSetting(Window& window, WorkQueue& files, const std::string& file, const std::string& key,
                  const std::string& value, std::function<void()> failed = {});
// Stores several in one write; `stored` runs once they are.
void StoreSettings(Window& window, WorkQueue& files, const std::string& file,
                   const SettingValues& settings, std::function<void()> stored,
                   std::function<void()> failed);

} // namespace orvane
