#include "practice_form.h"

#include "process/child_process.h"
#include "rehearsal/practice_messages.h"
#include "runtime/lifetime.h"
#include "text/ansi_literals.h"
#include "window/fatal_error.h"
#include "window/practice_layout.h"
#include "window/window.h"
#include "window/window_thread.h"

#include <chrono>
#include <memory>

namespace orvane {

namespace {

// The form and what it does; lives while the window's loop runs.
class FormReporter {
public:
    FormReporter(Window& window, size_t boxCount) : window_(window), boxCount_(boxCount) {}

    void Bind() {
        for (size_t box = 0; box < boxCount_; ++box) {
            window_.Bind(PracticeBoxName(box), Window::Event::Edited, Guarded([this, box] {
                             Report({FormReport::Kind::Box, box, Now(),
                                     window_.GetContent(PracticeBoxName(box))});
                         }));
        }
        window_.Bind(kPracticeSubmit, Window::Event::Click, Guarded([this] {
                         Report({FormReport::Kind::Submit, 0, Now(), {}});
                     }));
        Tell("等倒数结束，看到“开始”后点第一个框，按输入热键");
    }

    void OnCommand(const std::string& line) {
        std::optional<FormCommand> command = ReadFormCommand(line);
        if (!command) {
            return;
        }
        if (command->kind == FormCommand::Kind::Start) {
            Tell("开始：点第一个框，按输入热键");
            window_.RequestAttention();
        } else {
            Tell(command->text);
            Empty();
        }
        window_.FocusComponent(PracticeBoxName(0));
    }

private:
    static std::chrono::steady_clock::time_point Now() { return std::chrono::steady_clock::now(); }

    static std::function<void()> Guarded(std::function<void()> handler) {
        return [handler = std::move(handler)] { RunGuarded(handler); };
    }

    // A program that no longer reads has ended: the form goes too.
    void Report(const FormReport& report) {
        if (!emptying_ && !SendToParent(FormReportLine(report))) {
            window_.Close();
        }
    }

    void Tell(const std::string& line) {
        window_.SetStatusPanelText(kPracticeStatusBar, kPracticePanel, line);
        window_.SetStatusPanelTip(kPracticeStatusBar, kPracticePanel, line);
    }

    // Emptied for the next press; the program knows they are empty.
    void Empty() {
        emptying_ = true;
        for (size_t box = 0; box < boxCount_; ++box) {
            window_.SetContent(PracticeBoxName(box), {});
        }
        emptying_ = false;
    }

    Window& window_;
    const size_t boxCount_;
    bool emptying_ = false;
};

} // namespace

int RunPracticeForm(Window& window, int boxCount) {
    FormReporter form(window, size_t(boxCount));
    form.Bind();
    std::weak_ptr<const void> alive = window.Lifetime();
    ReadParentLines(
        [alive, &form](const std::string& line) {
            PostToWindowThread(WhileAlive(alive, [&form, line] { form.OnCommand(line); }));
        },
        [alive, &window] { PostToWindowThread(WhileAlive(alive, [&window] { window.Close(); })); });
    window.FinishCreation();
    window.ShowCentered();
    window.FocusComponent(PracticeBoxName(0));
    return window.RunMessageLoop();
}

} // namespace orvane
