#include "window_class.h"

namespace orvane {

void RegisterWindowClass(const wchar_t* name, WNDPROC procedure) {
    WNDCLASSW type{};
    if (GetClassInfoW(GetModuleHandleW(nullptr), name, &type)) {
        return;
    }
    type.lpfnWndProc = procedure;
    type.hInstance = GetModuleHandleW(nullptr);
    type.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    type.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    type.lpszClassName = name;
    RegisterClassW(&type);
}

} // namespace orvane
