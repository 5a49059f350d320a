#include "window/clipboard.h"
#include "runtime/wide_text.h"

#include <cstring>
#include <windows.h>

namespace orvane {

namespace {

void SetSecretFormat(const wchar_t* name, DWORD value, bool withValue) {
    UINT format = RegisterClipboardFormatW(name);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, sizeof value);
    if (format == 0 || memory == nullptr) {
        return;
    }
    if (withValue) {
        *static_cast<DWORD*>(GlobalLock(memory)) = value;
        GlobalUnlock(memory);
    }
    SetClipboardData(format, memory);
}

} // namespace

bool SetClipboardText(const std::string& text) {
    if (!OpenClipboard(nullptr)) {
        return false;
    }
    EmptyClipboard();
    std::wstring wide = WideFromAnsi(text);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (wide.size() + 1) * sizeof(wchar_t));
    if (memory != nullptr) {
        std::memcpy(GlobalLock(memory), wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
        GlobalUnlock(memory);
        SetClipboardData(CF_UNICODETEXT, memory);
    }
    // Kept out of clipboard history, cloud clipboard and clipboard monitors.
    SetSecretFormat(L"ExcludeClipboardContentFromMonitorProcessing", 0, false);
    SetSecretFormat(L"CanIncludeInClipboardHistory", 0, true);
    SetSecretFormat(L"CanUploadToCloudClipboard", 0, true);
    CloseClipboard();
    return memory != nullptr;
}

std::string GetClipboardText() {
    if (!OpenClipboard(nullptr)) {
        return {};
    }
    std::string text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        text = AnsiFromWide(static_cast<const wchar_t*>(GlobalLock(data)));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

} // namespace orvane
