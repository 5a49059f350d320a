#pragma once

#include <optional>
#include <string>

class QWidget;

namespace orvane {

// A message box modal to the owner's window only; without an owner it
// blocks every window of the program. Codes and results of message_box.h.
int ShowOwnedMessageBox(QWidget* owner, const std::string& text, int code,
                        const std::optional<std::string>& caption = std::nullopt);

} // namespace orvane
