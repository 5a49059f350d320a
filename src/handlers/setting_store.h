#pragma once

#include <string>

namespace orvane {

class Window;
class WorkQueue;

// Stores one setting of section "配置" in the information file, keeping
// the rest of the file, on the file queue; a failure is told in a box.
void StoreSetting(Window& window, WorkQueue& files, const std::string& file, const std::string& key,
                  const std::string& value);

} // namespace orvane
