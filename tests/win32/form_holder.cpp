// Another program's form: a window with three edit fields in a column, as a
// bank's reservation page has them, Tab moving from one to the next. It
// comes to the front with the first field focused and runs until closed.
#include <windows.h>

int wmain() {
    WNDCLASSW kind{};
    kind.lpfnWndProc = DefWindowProcW;
    kind.hInstance = GetModuleHandleW(nullptr);
    kind.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    kind.lpszClassName = L"OrvaneFormClass";
    RegisterClassW(&kind);
    HWND form = CreateWindowExW(WS_EX_CONTROLPARENT, kind.lpszClassName, L"OrvaneForm",
                                WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 200, 320, 200, nullptr,
                                nullptr, kind.hInstance, nullptr);
    HWND first = nullptr;
    for (int field = 0; field < 3; ++field) {
        HWND edit = CreateWindowExW(
            WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 10,
            10 + 40 * field, 280, 26, form, HMENU(INT_PTR(field + 1)), nullptr, nullptr);
        first = first != nullptr ? first : edit;
    }
    SetForegroundWindow(form);
    SetFocus(first);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageW(form, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return 0;
}
