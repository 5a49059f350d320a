#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <string>
#include <vector>

class QLabel;
class QTimer;

// The one window of the program, built from its layout. Handlers reach its
// components only through the operations below, by component name.
//
// A name that no component has is a programming error: debug builds stop on
// it, release builds ignore the call (reads give the empty value).
class MainWindow : public QWidget {
public:
    enum class Event { Created, Click, Tick };

    // Builds every component; throws std::runtime_error when it cannot.
    MainWindow();

    std::string GetContent(const std::string& editBox) const;
    void SetContent(const std::string& editBox, const std::string& text);
    void SetEnabled(const std::string& button, bool enabled);
    bool GetTicked(const std::string& checkBox) const;
    void SetTicked(const std::string& checkBox, bool ticked);
    int GetInterval(const std::string& timer) const;
    void SetInterval(const std::string& timer, int milliseconds);
    void FocusComponent(const std::string& name);
    // Native handle of the window (kMainWindow) or of a component; 0 if none.
    quintptr WindowHandle(const std::string& name);
    void SetStatusPanelText(const std::string& statusBar, int panel, const std::string& text);
    // The panel's tooltip; empty removes it.
    void SetStatusPanelTip(const std::string& statusBar, int panel, const std::string& tip);
    // Runs the task once on the window's thread after the delay, to the
    // millisecond; dropped with the window.
    void RunAfter(int milliseconds, std::function<void()> task);

    // Marks an edit box whose text has a finding: red text, the finding as
    // its tooltip and accessible description. An empty finding clears it.
    void SetFinding(const std::string& editBox, const std::string& finding);
    // Runs the handler after every change of any edit box's text, typed or
    // set by the program.
    void WatchEdits(std::function<void()> handler);
    // Adds an entry to the edit box's context menu, after the standard ones.
    void AddContextAction(const std::string& editBox, const std::string& caption,
                          std::function<void()> handler);

    // Runs the handler on each click (button, check box) or tick (timer), or
    // once from FinishCreation (the window itself, kMainWindow).
    void Bind(const std::string& name, Event event, std::function<void()> handler);
    // Signals that every component exists; call before the window is shown.
    void FinishCreation();

    int CurrentPage() const; // 0-based tab index
    void SelectPage(int index);
    void CenterOnScreen();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    template <class T> T* Find(const std::string& name) const;
    QLabel* StatusPanel(const std::string& statusBar, int panel) const;
    void DropPendingFocus();

    std::map<std::string, QObject*> components_;
    std::vector<std::function<void()>> onCreated_;
    QPointer<QWidget> pendingFocus_; // focus given before the window was active
};
