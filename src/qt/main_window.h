#pragma once

#include "window/layout.h"
#include "window/window.h"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <string>
#include <vector>

class QLabel;
class QScreen;
class QTimer;

namespace orvane {

// A window of the program, built from its layout with Qt's widgets: the
// main window, or the practice form.
class MainWindow : public QWidget, public Window {
public:
    // Builds every component; throws std::runtime_error when it cannot.
    explicit MainWindow(WindowDescription description = MainWindowDescription());

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
    int RunMessageLoop() override;

    int CurrentPage() const; // 0-based tab index
    void SelectPage(int index);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    template <class T> T* Find(const std::string& name) const;
    QLabel* StatusPanel(const std::string& statusBar, int panel) const;
    void DropPendingFocus();
    void Refit();

    const WindowDescription description_;
    std::map<std::string, QObject*> components_;
    std::vector<std::function<void()>> onCreated_;
    QPointer<QWidget> pendingFocus_; // focus given before the window was active
    WindowFit fit_;                  // how the table is laid out on the screen
    bool placed_ = false;
    QPointer<QScreen> watched_; // whose changes refit the window
    std::shared_ptr<const int> lifetime_ = std::make_shared<const int>(0);
};

} // namespace orvane
