#pragma once

#include "layout.h"
#include "window.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>
#include <windows.h>

// The one window of the program, built from its layout with the system's
// own controls: tab control, group boxes, buttons, edit boxes, check boxes,
// labels and a status bar.
class Win32Window : public Window {
public:
    // Builds every component; throws std::runtime_error when it cannot.
    Win32Window();
    ~Win32Window() override;
    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;

    std::string GetContent(const std::string& editBox) const override;
    void SetContent(const std::string& editBox, const std::string& text) override;
    void SetEnabled(const std::string& button, bool enabled) override;
    bool GetTicked(const std::string& checkBox) const override;
    void SetTicked(const std::string& checkBox, bool ticked) override;
    int GetInterval(const std::string& timer) const override;
    void SetInterval(const std::string& timer, int milliseconds) override;
    void FocusComponent(const std::string& name) override;
    std::uintptr_t WindowHandle(const std::string& name) override;
    void SetStatusPanelText(const std::string& statusBar, int panel,
                            const std::string& text) override;
    void SetStatusPanelTip(const std::string& statusBar, int panel,
                           const std::string& tip) override;
    void SetFinding(const std::string& editBox, const std::string& finding) override;
    void WatchEdits(std::function<void()> handler) override;
    void AddContextAction(const std::string& editBox, const std::string& caption,
                          std::function<void()> handler) override;
    void Bind(const std::string& name, Event event, std::function<void()> handler) override;
    void RunAfter(int milliseconds, std::function<void()> task) override;
    int ShowMessage(const std::string& text, int code, const std::string& caption) override;
    std::weak_ptr<const void> Lifetime() const override { return lifetime_; }

    // Signals that every component exists; call before the window is shown.
    void FinishCreation();
    void ShowCentered();
    // Runs the window's messages until it is closed; Esc closes it.
    int RunMessageLoop();
    HWND Handle() const { return window_; }
    HWND ComponentHandle(const std::string& name) const;

private:
    struct Component {
        const ComponentRow* row = nullptr;
        HWND handle = nullptr;
        int id = 0;
        int interval = 0; // timers
    };
    struct ContextAction {
        std::string caption;
        std::function<void()> handler;
    };
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM w, LPARAM l);
    static LRESULT CALLBACK ContextMenu(HWND hwnd, UINT message, WPARAM w, LPARAM l, UINT_PTR,
                                        DWORD_PTR self);
    LRESULT Handle(UINT message, WPARAM w, LPARAM l);
    void Build();
    HWND MakeControl(const ComponentRow& row, HWND parent, int id);
    const Component* Find(const std::string& name) const;
    void Run(const std::string& name, Event event);
    void SelectPage(int index);
    LRESULT ColorStatic(HDC dc, HWND control);
    void SetTip(HWND control, const std::string& tip);

    HWND window_ = nullptr;
    HFONT defaultFont_ = nullptr;
    HWND tips_ = nullptr; // tooltips of findings and of the status bar
    std::vector<HFONT> fonts_;
    std::map<std::string, Component> components_;
    std::map<int, std::string> names_; // by control or timer id
    std::vector<HWND> pages_;
    std::map<std::pair<std::string, Event>, std::vector<std::function<void()>>> handlers_;
    std::vector<std::function<void()>> editWatchers_;
    std::map<HWND, std::string> findings_;
    std::map<HWND, ContextAction> contextActions_;
    std::map<int, std::function<void()>> singleShots_;
    int nextShot_ = 1;
    std::shared_ptr<const int> lifetime_ = std::make_shared<const int>(0);
};
