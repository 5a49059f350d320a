#pragma once

// A window without a desktop: its components from the layout table, their
// states as plain values, and its timers on the machine's clock (which the
// handlers' own timing reads), run when the test lets time pass. Handler
// tests run on it headless and side by side.
#include "window/layout.h"
#include "window/window.h"

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace orvane {

class FakeWindow final : public Window {
public:
    FakeWindow();

    std::string GetContent(const std::string& editBox) const override;
    void SetContent(const std::string& editBox, const std::string& text) override;
    void SetEnabled(const std::string& button, bool enabled) override;
    bool GetEnabled(const std::string& button) const override;
    bool GetTicked(const std::string& checkBox) const override;
    void SetTicked(const std::string& checkBox, bool ticked) override;
    int GetInterval(const std::string& timer) const override;
    void SetInterval(const std::string& timer, int milliseconds) override;
    void FocusComponent(const std::string& name) override { focus_ = Known(name); }
    void KeepAbove(bool above) override { above_ = above; }
    void SetStatusPanelText(const std::string& statusBar, int panel,
                            const std::string& text) override;
    void SetStatusPanelTip(const std::string& statusBar, int panel,
                           const std::string& tip) override;
    void SetTip(const std::string& name, const std::string& tip) override;
    void SetFinding(const std::string& editBox, const std::string& finding) override;
    std::string PasteNote(const std::string&) const override { return {}; }
    void AddContextAction(const std::string& editBox, const std::string& caption,
                          std::function<void()> handler) override;
    void RequestAttention() override { ++attention_; }
    void Close() override { closed_ = true; }
    bool Closed() const { return closed_; }
    void Bind(const std::string& name, Event event, std::function<void()> handler) override;
    void RunAfter(int milliseconds, std::function<void()> task) override;
    bool ShowMessage(const Message& message) override;
    std::weak_ptr<const void> Lifetime() const override { return alive_; }
    void FinishCreation() override;
    void ShowCentered() override {}
    int RunMessageLoop() override { return 0; }

    // What a user's action or the desktop would set off.
    void Fire(const std::string& name, Event event);
    void Click(const std::string& name);
    // Runs the answers posted and each timer and single shot due by now, in
    // the order of their moments.
    void RunDue();
    std::string Tip(const std::string& name) const;
    std::string PanelText(int panel) const;
    std::string PanelTip(int panel) const;

private:
    struct Component {
        Kind kind = Kind::Label;
        std::string content;
        bool enabled = true;
        bool ticked = false;
        std::string tip;
        std::string finding;
        int interval = 0;
        std::int64_t nextTick = 0;
    };
    struct Shot {
        std::int64_t at = 0;
        std::uint64_t order = 0;
        std::function<void()> task;
    };
    std::string Known(const std::string& name) const;
    Component& Of(const std::string& name);
    const Component& Of(const std::string& name) const;
    bool RunNextDue(std::int64_t until);
    // Milliseconds since the window was made.
    std::int64_t Now() const;

    std::map<std::string, Component> components_;
    std::map<std::pair<std::string, Event>, std::vector<std::function<void()>>> handlers_;
    std::map<int, std::pair<std::string, std::string>> panels_;
    std::vector<Shot> shots_;
    std::uint64_t shotCount_ = 0;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    std::string focus_;
    bool above_ = false;
    int attention_ = 0;
    bool closed_ = false;
    std::shared_ptr<const int> alive_ = std::make_shared<const int>(0);
};

} // namespace orvane
