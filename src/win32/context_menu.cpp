#include "context_menu.h"

#include "text/ansi_literals.h"
#include "text/wide_text.h"

#include <commctrl.h>
#include <iterator>

namespace orvane {

namespace {

struct Entry {
    const char* caption;
    UINT message;
    WPARAM w;
    LPARAM l;
};

const Entry kEditEntries[] = {
    {"撤消(&U)", EM_UNDO, 0, 0},  {"剪切(&T)", WM_CUT, 0, 0},   {"复制(&C)", WM_COPY, 0, 0},
    {"粘贴(&P)", WM_PASTE, 0, 0}, {"删除(&D)", WM_CLEAR, 0, 0}, {"全选(&A)", EM_SETSEL, 0, -1},
};

struct Action {
    std::wstring caption;
    std::function<void()> handler;
};

// The menu's choice: 1.. for the edit entries, one more for the action, 0
// for none.
UINT ChooseFromMenu(HWND edit, const Action& action, LPARAM at) {
    HMENU menu = CreatePopupMenu();
    for (size_t i = 0; i < std::size(kEditEntries); ++i) {
        AppendMenuW(menu, MF_STRING, i + 1, WideFromAnsi(kEditEntries[i].caption).c_str());
    }
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, std::size(kEditEntries) + 1, action.caption.c_str());
    POINT point{short(LOWORD(at)), short(HIWORD(at))};
    if (point.x == -1 && point.y == -1) {
        GetCursorPos(&point);
    }
    UINT chosen = UINT(
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, point.x, point.y, 0, edit, nullptr));
    DestroyMenu(menu);
    return chosen;
}

LRESULT CALLBACK ContextMenu(HWND hwnd, UINT message, WPARAM w, LPARAM l, UINT_PTR id,
                             DWORD_PTR data) {
    auto* action = reinterpret_cast<Action*>(data);
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, ContextMenu, id);
        delete action;
    } else if (message == WM_CONTEXTMENU) {
        UINT chosen = ChooseFromMenu(hwnd, *action, l);
        if (chosen >= 1 && chosen <= std::size(kEditEntries)) {
            const Entry& entry = kEditEntries[chosen - 1];
            SendMessageW(hwnd, entry.message, entry.w, entry.l);
        } else if (chosen == std::size(kEditEntries) + 1) {
            action->handler();
        }
        return 0;
    }
    return DefSubclassProc(hwnd, message, w, l);
}

} // namespace

void AddContextEntry(HWND edit, const std::string& caption, std::function<void()> handler) {
    auto* action = new Action{WideFromAnsi(caption), std::move(handler)};
    if (!SetWindowSubclass(edit, ContextMenu, 0, DWORD_PTR(action))) {
        delete action;
    }
}

} // namespace orvane
