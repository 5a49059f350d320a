#include "byte_limit_edit.h"

#include "runtime/wide_text.h"
#include "text_of.h"

#include <algorithm>
#include <commctrl.h>
#include <string>

namespace orvane {

namespace {

std::wstring ClipboardUnicode(HWND owner) {
    std::wstring text;
    if (!OpenClipboard(owner)) {
        return text;
    }
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        text = static_cast<const wchar_t*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

LRESULT CALLBACK ByteLimit(HWND hwnd, UINT message, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR limit) {
    std::wstring insert;
    if (message == WM_CHAR && w >= 0x20) {
        insert.assign(1, wchar_t(w));
    } else if (message == WM_PASTE) {
        insert = ClipboardUnicode(hwnd);
    } else {
        return DefSubclassProc(hwnd, message, w, l);
    }
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(hwnd, EM_GETSEL, WPARAM(&start), LPARAM(&end));
    std::wstring text = WideFromAnsi(TextOf(hwnd));
    std::wstring after =
        text.substr(0, start) + insert + text.substr(std::min<size_t>(end, text.size()));
    if (AnsiFromWide(after).size() > limit) {
        MessageBeep(MB_OK);
        return 0;
    }
    return DefSubclassProc(hwnd, message, w, l);
}

} // namespace

void LimitToAnsiBytes(HWND edit, std::size_t limit) {
    SetWindowSubclass(edit, ByteLimit, 0, DWORD_PTR(limit));
}

} // namespace orvane
