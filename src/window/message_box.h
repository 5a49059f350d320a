#pragma once

#include "text/ansi_literals.h"

#include <string>

namespace orvane {

// What a box says besides its text: its icon, and whether it asks. A
// question has the buttons 确定 and 取消; every other box has 确定 alone.
enum class MessageKind { Plain, Information, Question, Warning, Error };

struct Message {
    std::string text;
    std::string caption = "信息：";
    MessageKind kind = MessageKind::Plain;
};

// Shows a box modal to every window of the program and waits until it is
// closed. True when it was closed with 确定; a box without 取消 closed any
// way counts as 确定. A box that belongs to the window is
// Window::ShowMessage.
bool ShowMessageBox(const Message& message);

} // namespace orvane
