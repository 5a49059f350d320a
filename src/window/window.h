#pragma once

#include "window/message_box.h"

#include <functional>
#include <memory>
#include <string>

namespace orvane {

// The program's one window as handlers reach it: its components by name,
// and the few services that belong to the window. Each desktop implements
// it with its own controls; handlers know nothing else of the desktop.
//
// A name that no component has is a programming error: debug builds stop on
// it, release builds ignore the call (reads give the empty value).
class Window {
public:
    // Created: once, when creation completes (the window itself,
    // kMainWindow). Click: a button or check box. Tick: a timer. Edited:
    // every change of an edit box's text, typed or set by the program.
    // Confirmed: the user is done with an edit box's text: Enter in it, or
    // the focus leaving it.
    enum class Event { Created, Click, Tick, Edited, Confirmed };

    virtual ~Window() = default;

    virtual std::string GetContent(const std::string& editBox) const = 0;
    virtual void SetContent(const std::string& editBox, const std::string& text) = 0;
    virtual void SetEnabled(const std::string& button, bool enabled) = 0;
    virtual bool GetEnabled(const std::string& button) const = 0;
    virtual bool GetTicked(const std::string& checkBox) const = 0;
    virtual void SetTicked(const std::string& checkBox, bool ticked) = 0;
    virtual int GetInterval(const std::string& timer) const = 0;
    virtual void SetInterval(const std::string& timer, int milliseconds) = 0;
    virtual void FocusComponent(const std::string& name) = 0;
    // Keeps the window above every other (brought to the front and
    // activated), or returns it to the normal band in its place, neither
    // activating it nor moving it.
    virtual void KeepAbove(bool above) = 0;
    virtual void SetStatusPanelText(const std::string& statusBar, int panel,
                                    const std::string& text) = 0;
    // The panel's tooltip; empty removes it.
    virtual void SetStatusPanelTip(const std::string& statusBar, int panel,
                                   const std::string& tip) = 0;

    // The component's tooltip; empty removes it.
    virtual void SetTip(const std::string& name, const std::string& tip) = 0;
    // Marks an edit box whose text has a finding: red text, the finding as
    // its tooltip and accessible description. An empty finding clears it.
    virtual void SetFinding(const std::string& editBox, const std::string& finding) = 0;
    // What the box's last paste left out (more lines, or text past its
    // limit), while the box still shows what that paste left; else empty.
    virtual std::string PasteNote(const std::string& editBox) const = 0;
    // Adds an entry to the edit box's context menu, after the standard ones.
    virtual void AddContextAction(const std::string& editBox, const std::string& caption,
                                  std::function<void()> handler) = 0;

    // Closes the window, as its close button does, once the handler in hand
    // returns.
    virtual void Close() = 0;

    // Asks for the user's eye without taking the focus: the taskbar entry
    // flashes until the window is activated.
    virtual void RequestAttention() = 0;

    // Runs the handler on each such event of the component.
    virtual void Bind(const std::string& name, Event event, std::function<void()> handler) = 0;
    // Runs the task once on the window's thread after the delay, to the
    // millisecond, under the handlers' guard; dropped with the window.
    virtual void RunAfter(int milliseconds, std::function<void()> task) = 0;
    // A message box modal to the window; waits until it is closed and
    // answers as ShowMessageBox does.
    virtual bool ShowMessage(const Message& message) = 0;
    // Expires with the window: answers of slow work check it before they
    // touch the window.
    virtual std::weak_ptr<const void> Lifetime() const = 0;

    // The desktop's part of the start, in this order: signals that every
    // component exists (the Created handlers run, before anything is
    // shown), shows the window centred on the screen, and runs its events
    // until it is closed; the result is the program's exit code.
    virtual void FinishCreation() = 0;
    virtual void ShowCentered() = 0;
    virtual int RunMessageLoop() = 0;
};

} // namespace orvane
