#include "table_paste_handler.h"

#include "applicants/table_paste.h"
#include "runtime/lifetime.h"
#include "runtime/memory.h"
#include "text/ansi_literals.h"
#include "window/clipboard.h"
#include "window/window.h"
#include "window_applicants.h"

namespace orvane {

namespace {

const std::string kCaption = "粘贴表格";

void Warn(Window& window, const std::string& text) {
    window.ShowMessage({.text = text, .caption = kCaption, .kind = MessageKind::Warning});
}

// Plans the paste, asks, and writes; the table's text is freed before the
// question is asked.
void PasteTable(Window& window, int group, std::string table) {
    Applicants applicants = ApplicantsInWindow(window);
    Result<TablePaste> plan = PlanTablePaste(table, group, applicants);
    std::string().swap(table);
    ReleaseFreeMemory();
    if (!plan) {
        Warn(window, plan.Reason() + "。\n没有写入任何内容。");
        return;
    }
    const TablePaste& paste = *plan;
    if (paste.rows.empty()) {
        Warn(window,
             "剪贴板里没有可粘贴的表格：每行应有姓名、身份证、手机号3项，用制表符或逗号隔开。");
        return;
    }
    if (!window.ShowMessage({.text = TablePasteQuestion(paste),
                             .caption = kCaption,
                             .kind = MessageKind::Question})) {
        return;
    }
    ApplyTablePaste(paste, applicants);
    ShowApplicants(window, applicants);
}

} // namespace

void PasteTableFromGroup(Window& window, int group) {
    ReadClipboardText(
        WhileAlive(window.Lifetime(), [&window, group](std::optional<std::string> table) {
            if (!table) {
                Warn(window, kClipboardSilent);
                return;
            }
            PasteTable(window, group, std::move(*table));
        }));
}

} // namespace orvane
