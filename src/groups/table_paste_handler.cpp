#include "table_paste_handler.h"

#include "ansi_literals.h"
#include "clipboard.h"
#include "main_window.h"
#include "message_box.h"
#include "table_paste.h"
#include "window_applicants.h"

namespace {

const std::string kCaption = "粘贴表格";

} // namespace

void PasteTableFromGroup(MainWindow& window, int group) {
    Applicants applicants = ApplicantsInWindow(window);
    TablePaste paste = PlanTablePaste(GetClipboardText(), group, applicants);
    if (paste.refusal) {
        ShowMessageBox(*paste.refusal + "。\n没有写入任何内容。", kBoxOk | kBoxIconWarning,
                       kCaption, &window);
        return;
    }
    if (paste.rows.empty()) {
        ShowMessageBox(
            "剪贴板里没有可粘贴的表格：每行应有姓名、身份证、手机号3项，用制表符或逗号隔开。",
            kBoxOk | kBoxIconWarning, kCaption, &window);
        return;
    }
    if (ShowMessageBox(TablePasteQuestion(paste), kBoxOkCancel | kBoxIconQuestion, kCaption,
                       &window) != kResultOk) {
        return;
    }
    ApplyTablePaste(paste, applicants);
    ShowApplicants(window, applicants);
}
