#include "field_edit.h"

#include "applicants/paste_fit.h"
#include "owned_message_box.h"
#include "text/ansi_literals.h"
#include "text/wide_text.h"
#include "text_of.h"
#include "window/clipboard.h"

#include <algorithm>
#include <commctrl.h>

namespace orvane {

namespace {

// Where the box keeps its state, for those who hold only its handle.
const wchar_t kFieldProperty[] = L"OrvaneField";

struct Field {
    std::size_t limit;
    std::string note;
    std::string textAfterPaste;
};

// The ANSI bytes of the text with the selection replaced by `insert`.
std::size_t BytesWith(HWND edit, const std::wstring& insert) {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(edit, EM_GETSEL, WPARAM(&start), LPARAM(&end));
    std::wstring text = WideFromAnsi(TextOf(edit));
    std::wstring after =
        text.substr(0, start) + insert + text.substr(std::min<size_t>(end, text.size()));
    return AnsiFromWide(after).size();
}

void Paste(HWND edit, Field& field, const std::string& pasted) {
    FittedPaste fitted =
        FitPaste(pasted, field.limit - std::min(field.limit, BytesWith(edit, L"")));
    field.note = fitted.note;
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(edit, EM_GETSEL, WPARAM(&start), LPARAM(&end));
    std::wstring text = WideFromAnsi(TextOf(edit));
    std::wstring inserted = WideFromAnsi(fitted.text);
    field.textAfterPaste = AnsiFromWide(text.substr(0, start) + inserted +
                                        text.substr(std::min<size_t>(end, text.size())));
    if (inserted.empty() && start == end) {
        // Nothing to insert: the finding still tells why.
        SendMessageW(GetParent(edit), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(edit), EN_CHANGE),
                     LPARAM(edit));
        return;
    }
    SendMessageW(edit, EM_REPLACESEL, TRUE, LPARAM(inserted.c_str()));
}

LRESULT CALLBACK FieldProc(HWND hwnd, UINT message, WPARAM w, LPARAM l, UINT_PTR id,
                           DWORD_PTR data) {
    auto* field = reinterpret_cast<Field*>(data);
    switch (message) {
    case WM_NCDESTROY:
        RemoveWindowSubclass(hwnd, FieldProc, id);
        RemovePropW(hwnd, kFieldProperty);
        delete field;
        break;
    case WM_CHAR:
        if (w >= 0x20 && BytesWith(hwnd, std::wstring(1, wchar_t(w))) > field->limit) {
            MessageBeep(MB_OK);
            return 0;
        }
        break;
    case WM_PASTE:
        ReadClipboardText([hwnd](std::optional<std::string> pasted) {
            auto* field = static_cast<Field*>(GetPropW(hwnd, kFieldProperty));
            if (!IsWindow(hwnd) || field == nullptr) {
                return; // the box is gone
            }
            if (!pasted) {
                ShowOwnedMessageBox(
                    GetAncestor(hwnd, GA_ROOT),
                    {.text = kClipboardSilent, .caption = "粘贴", .kind = MessageKind::Warning});
                return;
            }
            Paste(hwnd, *field, *pasted);
        });
        return 0;
    default:
        break;
    }
    return DefSubclassProc(hwnd, message, w, l);
}

} // namespace

void MakeFieldEdit(HWND edit, std::size_t limit) {
    auto* field = new Field{limit, {}, {}};
    if (!SetWindowSubclass(edit, FieldProc, 0, DWORD_PTR(field))) {
        delete field;
        return;
    }
    SetPropW(edit, kFieldProperty, field);
}

std::string PasteNoteOf(HWND edit) {
    const auto* field = static_cast<const Field*>(GetPropW(edit, kFieldProperty));
    return field != nullptr && TextOf(edit) == field->textAfterPaste ? field->note : std::string();
}

} // namespace orvane
