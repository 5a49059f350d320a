#pragma once

#include "window/message_box.h"

class QWidget;

namespace orvane {

// A message box modal to the owner's window only; without an owner it
// blocks every window of the program. Answers as ShowMessageBox does.
bool ShowOwnedMessageBox(QWidget* owner, const Message& message);

} // namespace orvane
