// Another program that holds the clipboard open for five seconds, as a
// clipboard manager or a hung program may; it says when it holds it through
// the named event given as its argument.
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
    HWND owner =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (argc < 2 || !OpenClipboard(owner)) {
        return 1;
    }
    HANDLE held = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[1]);
    SetEvent(held);
    Sleep(5000);
    CloseClipboard();
    return 0;
}
