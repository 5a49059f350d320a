// Another program's form: a window with three edit fields in a column, as a
// bank's reservation page has them, Tab moving from one to the next; with
// the argument "open", its input method is open, as a Chinese user's is;
// with "limit" its second field takes 17 characters, as a page's box with
// too small a limit does.
// It comes to the front with the first field focused and runs until
// closed. A fourth field reports, for the test to read, "open=1" or
// "open=0" (the input method's state now) and how many characters arrived
// while the input method was open.
#include <windows.h>

#include <cwchar>
#include <imm.h> // after windows.h

namespace {

HWND report = nullptr;
int whileOpen = 0;
WNDPROC editProc = nullptr;

bool InputMethodOpen(HWND field) {
    HIMC context = ImmGetContext(field);
    bool open = context != nullptr && ImmGetOpenStatus(context) != FALSE;
    ImmReleaseContext(field, context);
    return open;
}

void Report(HWND field) {
    wchar_t text[64];
    std::swprintf(text, 64, L"open=%d while-open=%d", InputMethodOpen(field) ? 1 : 0, whileOpen);
    SetWindowTextW(report, text);
}

LRESULT CALLBACK FieldProc(HWND field, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_CHAR && w != L'\t' && InputMethodOpen(field)) {
        ++whileOpen;
    }
    return CallWindowProcW(editProc, field, message, w, l);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    bool open = argc > 1 && std::wcscmp(argv[1], L"open") == 0;
    bool limit = argc > 1 && std::wcscmp(argv[1], L"limit") == 0;
    WNDCLASSW kind{};
    kind.lpfnWndProc = DefWindowProcW;
    kind.hInstance = GetModuleHandleW(nullptr);
    kind.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    kind.lpszClassName = L"OrvaneFormClass";
    RegisterClassW(&kind);
    HWND form = CreateWindowExW(WS_EX_CONTROLPARENT, kind.lpszClassName, L"OrvaneForm",
                                WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 200, 320, 220, nullptr,
                                nullptr, kind.hInstance, nullptr);
    HWND first = nullptr;
    for (int field = 0; field < 4; ++field) {
        HWND edit = CreateWindowExW(
            WS_EX_CLIENTEDGE, L"EDIT", L"",
            WS_CHILD | WS_VISIBLE | (field < 3 ? WS_TABSTOP : ES_READONLY) | ES_AUTOHSCROLL, 10,
            10 + (40 * field), 280, 26, form, HMENU(INT_PTR(field + 1)), nullptr, nullptr);
        if (field == 1 && limit) {
            SendMessageW(edit, EM_LIMITTEXT, 17, 0);
        }
        if (field < 3) {
            editProc = WNDPROC(SetWindowLongPtrW(edit, GWLP_WNDPROC, LONG_PTR(FieldProc)));
            HIMC context = ImmGetContext(edit);
            ImmSetOpenStatus(context, open ? TRUE : FALSE);
            ImmReleaseContext(edit, context);
        }
        first = first != nullptr ? first : edit;
        report = edit;
    }
    SetForegroundWindow(form);
    SetFocus(first);
    SetTimer(form, 1, 10, nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER && message.hwnd == form) {
            Report(GetFocus() != nullptr ? GetFocus() : first);
            continue;
        }
        if (!IsDialogMessageW(form, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return 0;
}
