#pragma once

// The desktop a handler test runs on, one per test program: a fake window on
// a fake clock (headless, its tests in parallel), the Qt window, or the
// Windows window under Wine. The handler tests speak only of this and of
// Window, so that every desktop is held to one behaviour.
#include "window/message_box.h"
#include "window/window.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace orvane {

// A main window built from the layout, not yet shown.
std::unique_ptr<Window> NewDeskWindow();
// The click of a button or a check box (which toggles first), delivered as
// the desktop delivers it.
void Click(Window& window, const std::string& name);
// Lets the milliseconds pass: timers due and answers posted to the
// window's thread run.
void Pass(Window& window, int milliseconds);
// Lets time pass until `done` holds, for at most the milliseconds; whether
// it came to hold.
bool PassUntil(Window& window, const std::function<bool()>& done, int milliseconds);
// The component's tooltip.
std::string TipOf(Window& window, const std::string& name);
// The status bar's panel: its text and its tooltip.
std::string PanelTextOf(Window& window, int panel);
std::string PanelTipOf(Window& window, int panel);
// The clipboard's text, as another program reads it.
std::string DeskClipboardText();
// Whether the desktop's text reaches past GBK to every GB18030 character:
// Wine has no GB18030 code page, and Windows text falls back to GBK there.
bool DeskHoldsAllOfGb18030();
// The message boxes shown since the last call, each closed with 确定, or
// as AnswerBoxes says.
std::vector<Message> TakeMessages();
// How the boxes shown from now on are closed: with 确定, or with Esc (a
// question's 取消).
void AnswerBoxes(bool ok);

// A test on a new main window of the desk.
class DeskTest : public testing::Test {
protected:
    std::unique_ptr<Window> owned = NewDeskWindow();
    Window& window = *owned;
};

} // namespace orvane
