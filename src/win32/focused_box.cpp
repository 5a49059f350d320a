#include "focused_box.h"

#include "text/wide_text.h"

#include <cstdio>
#include <deque>
#include <oleacc.h>
#include <optional>
#include <string>
#include <windows.h>

namespace orvane {

namespace {

// The longest wait for another program's box to answer, and the most of
// its text compared.
constexpr UINT kAnswerLimit = 100;
constexpr int kLongestText = 512;

template <class Interface> struct Released {
    Interface* p = nullptr;
    Released() = default;
    Released(const Released& other) : p(other.p) {
        if (p != nullptr) {
            p->AddRef();
        }
    }
    Released& operator=(const Released&) = delete;
    ~Released() {
        if (p != nullptr) {
            p->Release();
        }
    }
};

std::string Identity(const char* kind, const void* what, long child) {
    char text[64];
    wsprintfA(text, "%s:%p:%ld", kind, what, child);
    return text;
}

// The boxes found last, by their identities, for reading them again.
struct Found {
    std::string field;
    Released<IAccessible> object;
    long child = CHILDID_SELF;
};
constexpr size_t kKept = 8;
thread_local std::deque<Found> found;

void Keep(const std::string& field, const Released<IAccessible>& object, long child) {
    if (found.size() == kKept) {
        found.pop_front();
    }
    found.push_back({field, object, child});
}

std::optional<std::wstring> ValueOf(IAccessible* object, long child) {
    VARIANT which;
    which.vt = VT_I4;
    which.lVal = child;
    BSTR value = nullptr;
    if (FAILED(object->get_accValue(which, &value))) {
        return std::nullopt;
    }
    std::wstring text = value != nullptr ? std::wstring(value, SysStringLen(value)) : L"";
    SysFreeString(value);
    return text.substr(0, kLongestText);
}

bool IsEditControl(HWND box) {
    wchar_t type[32] = {};
    GetClassNameW(box, type, 32);
    return lstrcmpiW(type, L"Edit") == 0 || std::wstring(type).starts_with(L"RichEdit");
}

FieldText ReadEditControl(HWND box) {
    if ((GetWindowLongPtrW(box, GWL_STYLE) & ES_READONLY) != 0) {
        return {};
    }
    wchar_t text[kLongestText + 1] = {};
    DWORD_PTR copied = 0;
    if (SendMessageTimeoutW(box, WM_GETTEXT, kLongestText + 1, LPARAM(text), SMTO_ABORTIFHUNG,
                            kAnswerLimit, &copied) == 0) {
        return {};
    }
    return {true, Identity("window", box, 0), AnsiFromWide(text)};
}

// The focused object under the window's own, and its child number.
bool FocusedObject(IAccessible* window, Released<IAccessible>& object, long& child) {
    VARIANT focus;
    VariantInit(&focus);
    if (FAILED(window->get_accFocus(&focus))) {
        return false;
    }
    if (focus.vt == VT_I4) {
        window->AddRef();
        object.p = window;
        child = focus.lVal;
        return true;
    }
    bool found = focus.vt == VT_DISPATCH && focus.pdispVal != nullptr &&
                 SUCCEEDED(focus.pdispVal->QueryInterface(IID_IAccessible,
                                                          reinterpret_cast<void**>(&object.p)));
    VariantClear(&focus);
    child = CHILDID_SELF;
    return found;
}

// A box that has the focus and takes text: its value.
FieldText ReadAccessible(HWND box) {
    Released<IAccessible> window;
    if (FAILED(AccessibleObjectFromWindow(box, DWORD(OBJID_CLIENT), IID_IAccessible,
                                          reinterpret_cast<void**>(&window.p)))) {
        return {};
    }
    Released<IAccessible> object;
    long child = CHILDID_SELF;
    if (!FocusedObject(window.p, object, child)) {
        return {};
    }
    VARIANT which;
    which.vt = VT_I4;
    which.lVal = child;
    VARIANT state;
    VariantInit(&state);
    if (FAILED(object.p->get_accState(which, &state)) || state.vt != VT_I4 ||
        (state.lVal & STATE_SYSTEM_FOCUSED) == 0 || (state.lVal & STATE_SYSTEM_READONLY) != 0) {
        return {};
    }
    std::optional<std::wstring> text = ValueOf(object.p, child);
    if (!text) {
        return {};
    }
    Released<IUnknown> unknown;
    object.p->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown.p));
    std::string field = Identity("object", unknown.p, child);
    Keep(field, object, child);
    return {true, field, AnsiFromWide(*text)};
}

} // namespace

FieldText ReadFocusedBox() {
    GUITHREADINFO thread{sizeof thread};
    HWND foreground = GetForegroundWindow();
    if (foreground == nullptr ||
        !GetGUIThreadInfo(GetWindowThreadProcessId(foreground, nullptr), &thread) ||
        thread.hwndFocus == nullptr) {
        return {};
    }
    return IsEditControl(thread.hwndFocus) ? ReadEditControl(thread.hwndFocus)
                                           : ReadAccessible(thread.hwndFocus);
}

FieldText ReadBoxAgain(const std::string& field) {
    void* window = nullptr;
    if (std::sscanf(field.c_str(), "window:%p:", &window) == 1) {
        FieldText read = ReadEditControl(HWND(window));
        return read.field == field ? read : FieldText{};
    }
    for (const Found& box : found) {
        if (box.field == field) {
            std::optional<std::wstring> text = ValueOf(box.object.p, box.child);
            return text ? FieldText{true, field, AnsiFromWide(*text)} : FieldText{};
        }
    }
    return {};
}

} // namespace orvane
