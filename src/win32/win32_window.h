#pragma once

#include "single_shots.h"
#include "tooltips.h"
#include "window/window.h"
#include "window_builder.h"

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>
#include <windows.h>

namespace orvane {

// A window of the program, built from its layout with the system's own
// controls: the main window, or the practice form.
class Win32Window final : public Window {
public:
    // Builds every component; throws std::runtime_error when it cannot.
    explicit Win32Window(WindowDescription description = MainWindowDescription());
    ~Win32Window() override;
    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;

    std::string GetContent(const std::string& editBox) const override;
    void SetContent(const std::string& editBox, const std::string& text) override;
    void SetEnabled(const std::string& button, bool enabled) override;
    bool GetEnabled(const std::string& button) const override;
    void RequestAttention() override;
    void Close() override;
    bool GetTicked(const std::string& checkBox) const override;
    void SetTicked(const std::string& checkBox, bool ticked) override;
    int GetInterval(const std::string& timer) const override;
    void SetInterval(const std::string& timer, int milliseconds) override;
    void FocusComponent(const std::string& name) override;
    void KeepAbove(bool above) override;
    void SetStatusPanelText(const std::string& statusBar, int panel,
                            const std::string& text) override;
    void SetStatusPanelTip(const std::string& statusBar, int panel,
                           const std::string& tip) override;
    void SetTip(const std::string& name, const std::string& tip) override;
    void SetFinding(const std::string& editBox, const std::string& finding) override;
    std::string PasteNote(const std::string& editBox) const override;
    void AddContextAction(const std::string& editBox, const std::string& caption,
                          std::function<void()> handler) override;
    void Bind(const std::string& name, Event event, std::function<void()> handler) override;
    void RunAfter(int milliseconds, std::function<void()> task) override;
    bool ShowMessage(const Message& message) override;
    std::weak_ptr<const void> Lifetime() const override { return lifetime_; }
    void FinishCreation() override;
    void ShowCentered() override;
    // Esc closes the window.
    int RunMessageLoop() override;

    HWND Handle() const { return window_; }
    HWND ComponentHandle(const std::string& name) const;
    int CurrentPage() const;
    void SelectPage(int index);
    // The window's own keys, before the control with the focus sees them
    // (window_keys.cpp); true when the key was the window's. The message
    // loop asks first.
    bool HandleKey(const MSG& message);

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM w, LPARAM l);
    LRESULT Handle(UINT message, WPARAM w, LPARAM l);
    const Control* Find(const std::string& name) const;
    void Run(const std::string& name, Event event);
    void RunById(int id, Event event);
    LRESULT ColorStatic(HDC dc, HWND control);
    WindowFit FitOnScreen() const;
    void SizeClient();
    void Fit();
    void FitStatusPanes(HWND bar, const std::wstring& line);
    // Keyboard (window_keys.cpp).
    std::vector<HWND> FocusOrder() const;
    bool ShownInWindow(HWND control) const;
    void Focus(HWND control);
    void MoveFocus(bool forward);
    void TurnPage(bool forward);

    const WindowDescription description_;
    HWND window_ = nullptr;
    WindowFit fit_;              // how the table is laid out on the screen
    HMONITOR monitor_ = nullptr; // where the window was fitted last
    std::unique_ptr<WindowBuilder> builder_;
    std::unique_ptr<Tooltips> tips_;
    std::unique_ptr<SingleShots> shots_;
    std::map<std::string, Control> controls_;
    std::map<int, std::string> names_; // by control or timer id
    std::map<std::string, int> intervals_;
    std::map<std::pair<std::string, Event>, std::vector<std::function<void()>>> handlers_;
    std::set<HWND> findings_;
    HWND focus_ = nullptr; // given back when the window is activated again
    std::shared_ptr<const int> lifetime_ = std::make_shared<const int>(0);
};

} // namespace orvane
