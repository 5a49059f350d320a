#include "fake_window.h"

#include "desk.h"
#include "window/beep.h"
#include "window/clipboard.h"
#include "window/component_names.h"
#include "window/fatal_error.h"
#include "window/global_typing.h"
#include "window/readable_tip.h"
#include "window/window_thread.h"

#include <algorithm>
#include <chrono>
#include <deque>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>

namespace orvane {

namespace {

// The fake desktop's services: one clipboard, one list of boxes shown and
// one queue of tasks for the window's thread, as a program has.
struct FakeDesk {
    std::mutex mutex;
    std::deque<std::function<void()>> posted;
    std::string clipboard;
    std::vector<Message> messages;
    bool answerOk = true;
};

FakeDesk& Desk() {
    static FakeDesk desk;
    return desk;
}

} // namespace

FakeWindow::FakeWindow() {
    for (const ComponentRow& row : MainWindowLayout()) {
        Component& component = components_[row.name];
        component.kind = row.kind;
        component.content = row.kind == Kind::EditBox ? std::string() : row.caption;
        component.interval = row.interval;
        component.nextTick = row.interval;
    }
}

void FakeWindow::FinishCreation() {
    Fire(kMainWindow, Event::Created);
}

std::string FakeWindow::Known(const std::string& name) const {
    if (name != kMainWindow && !components_.contains(name)) {
        ADD_FAILURE() << "no component " << name;
    }
    return name;
}

FakeWindow::Component& FakeWindow::Of(const std::string& name) {
    static Component none;
    auto found = components_.find(Known(name));
    return found == components_.end() ? none : found->second;
}

const FakeWindow::Component& FakeWindow::Of(const std::string& name) const {
    return const_cast<FakeWindow*>(this)->Of(name);
}

std::string FakeWindow::GetContent(const std::string& editBox) const {
    return Of(editBox).content;
}

// An edit box tells every change of its text, typed or set.
void FakeWindow::SetContent(const std::string& editBox, const std::string& text) {
    Of(editBox).content = text;
    Fire(editBox, Event::Edited);
}

void FakeWindow::SetEnabled(const std::string& button, bool enabled) {
    Of(button).enabled = enabled;
}

bool FakeWindow::GetEnabled(const std::string& button) const {
    return Of(button).enabled;
}

bool FakeWindow::GetTicked(const std::string& checkBox) const {
    return Of(checkBox).ticked;
}

void FakeWindow::SetTicked(const std::string& checkBox, bool ticked) {
    Of(checkBox).ticked = ticked;
}

int FakeWindow::GetInterval(const std::string& timer) const {
    return Of(timer).interval;
}

void FakeWindow::SetInterval(const std::string& timer, int milliseconds) {
    Component& component = Of(timer);
    component.interval = milliseconds;
    component.nextTick = Now() + milliseconds;
}

void FakeWindow::SetStatusPanelText(const std::string& statusBar, int panel,
                                    const std::string& text) {
    Known(statusBar);
    panels_[panel].first = text;
}

void FakeWindow::SetStatusPanelTip(const std::string& statusBar, int panel,
                                   const std::string& tip) {
    Known(statusBar);
    panels_[panel].second = ReadableTip(tip);
}

void FakeWindow::SetTip(const std::string& name, const std::string& tip) {
    Of(name).tip = ReadableTip(tip);
}

// A finding is the box's tooltip, as both desktops show it.
void FakeWindow::SetFinding(const std::string& editBox, const std::string& finding) {
    Of(editBox).finding = ReadableTip(finding);
}

void FakeWindow::AddContextAction(const std::string& editBox, const std::string&,
                                  std::function<void()> handler) {
    Known(editBox);
    handlers_[{editBox, Event::Click}].push_back(std::move(handler));
}

void FakeWindow::Bind(const std::string& name, Event event, std::function<void()> handler) {
    handlers_[{Known(name), event}].push_back(std::move(handler));
}

void FakeWindow::RunAfter(int milliseconds, std::function<void()> task) {
    shots_.push_back({Now() + std::max(0, milliseconds), shotCount_++, std::move(task)});
}

std::int64_t FakeWindow::Now() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start_)
        .count();
}

bool FakeWindow::ShowMessage(const Message& message) {
    return ShowMessageBox(message);
}

void FakeWindow::Fire(const std::string& name, Event event) {
    auto found = handlers_.find({name, event});
    if (found == handlers_.end()) {
        return;
    }
    std::vector<std::function<void()>> handlers = found->second; // a handler may bind more
    for (const auto& handler : handlers) {
        RunGuarded(handler);
    }
}

// A disabled button takes no click; a check box toggles before its click
// arrives.
void FakeWindow::Click(const std::string& name) {
    Component& component = Of(name);
    if (!component.enabled) {
        return;
    }
    if (component.kind == Kind::CheckBox) {
        component.ticked = !component.ticked;
    }
    Fire(name, Event::Click);
}

// The earliest single shot or tick due by `until`, first come first run;
// false when none is.
bool FakeWindow::RunNextDue(std::int64_t until) {
    auto shot = std::min_element(shots_.begin(), shots_.end(), [](const Shot& a, const Shot& b) {
        return a.at != b.at ? a.at < b.at : a.order < b.order;
    });
    std::string ticker;
    std::int64_t tickAt = until + 1;
    for (const auto& [name, component] : components_) {
        if (component.kind == Kind::Timer && component.interval > 0 &&
            component.nextTick < tickAt) {
            ticker = name;
            tickAt = component.nextTick;
        }
    }
    if (shot != shots_.end() && shot->at <= until && shot->at <= tickAt) {
        std::function<void()> task = std::move(shot->task);
        shots_.erase(shot);
        RunGuarded(task);
        return true;
    }
    if (ticker.empty()) {
        return false;
    }
    components_[ticker].nextTick = tickAt + components_[ticker].interval;
    Fire(ticker, Event::Tick);
    return true;
}

void FakeWindow::RunDue() {
    do {
        RunPostedTasks();
    } while (RunNextDue(Now()));
}

std::string FakeWindow::Tip(const std::string& name) const {
    const Component& component = Of(name);
    return component.finding.empty() ? component.tip : component.finding;
}

std::string FakeWindow::PanelText(int panel) const {
    auto found = panels_.find(panel);
    return found == panels_.end() ? std::string() : found->second.first;
}

std::string FakeWindow::PanelTip(int panel) const {
    auto found = panels_.find(panel);
    return found == panels_.end() ? std::string() : found->second.second;
}

// The fake desktop's services.

void PostToWindowThread(std::function<void()> task) {
    std::scoped_lock lock(Desk().mutex);
    Desk().posted.push_back(std::move(task));
}

void RunPostedTasks() {
    for (;;) {
        std::function<void()> task;
        {
            std::scoped_lock lock(Desk().mutex);
            if (Desk().posted.empty()) {
                return;
            }
            task = std::move(Desk().posted.front());
            Desk().posted.pop_front();
        }
        RunGuarded(task);
    }
}

bool ShowMessageBox(const Message& message) {
    std::scoped_lock lock(Desk().mutex);
    Desk().messages.push_back(message);
    return Desk().answerOk || message.kind != MessageKind::Question;
}

bool SetClipboardText(const std::string& text) {
    std::scoped_lock lock(Desk().mutex);
    Desk().clipboard = text;
    return true;
}

void ReadClipboardText(std::function<void(std::optional<std::string>)> answer) {
    std::string text;
    {
        std::scoped_lock lock(Desk().mutex);
        text = Desk().clipboard;
    }
    PostToWindowThread([answer = std::move(answer), text] { answer(text); });
}

void PlayBeep(BeepSound) {}

void ReportFatalError(const std::string& text) {
    ADD_FAILURE() << "fatal error: " << text;
}

Result<> GrabHotKey(Window&, const HotKey&, const std::function<void()>&,
                    const std::function<void(const Result<>&)>&) {
    return {};
}

void ReleaseHotKey() {}

std::unique_ptr<Keyboard> OpenKeyboard(Window&) {
    return nullptr;
}

// The desk the handler tests see.

std::unique_ptr<Window> NewDeskWindow() {
    return std::make_unique<FakeWindow>();
}

void Click(Window& window, const std::string& name) {
    static_cast<FakeWindow&>(window).Click(name);
}

void Pass(Window& window, int milliseconds) {
    PassUntil(
        window, [] { return false; }, milliseconds);
}

bool PassUntil(Window& window, const std::function<bool()>& done, int milliseconds) {
    auto& fake = static_cast<FakeWindow&>(window);
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    for (fake.RunDue(); !done(); fake.RunDue()) {
        if (std::chrono::steady_clock::now() >= until) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

std::string TipOf(Window& window, const std::string& name) {
    return static_cast<FakeWindow&>(window).Tip(name);
}

std::string PanelTextOf(Window& window, int panel) {
    return static_cast<FakeWindow&>(window).PanelText(panel);
}

std::string PanelTipOf(Window& window, int panel) {
    return static_cast<FakeWindow&>(window).PanelTip(panel);
}

std::string DeskClipboardText() {
    std::scoped_lock lock(Desk().mutex);
    return Desk().clipboard;
}

bool DeskHoldsAllOfGb18030() {
    return true;
}

std::vector<Message> TakeMessages() {
    std::scoped_lock lock(Desk().mutex);
    return std::exchange(Desk().messages, {});
}

void AnswerBoxes(bool ok) {
    std::scoped_lock lock(Desk().mutex);
    Desk().answerOk = ok;
}

} // namespace orvane
