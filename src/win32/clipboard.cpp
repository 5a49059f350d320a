#include "window/clipboard.h"
#include "text/wide_text.h"
#include "window/window_thread.h"

#include <atomic>
#include <chrono>
#include <cstring>
#include <memory>
#include <thread>
#include <windows.h>

namespace orvane {

namespace {

// Another program may hold the clipboard open for a moment: tries for
// about the time given.
bool OpenClipboardPatiently(int milliseconds) {
    for (int waited = 0;; waited += 20) {
        if (OpenClipboard(nullptr)) {
            return true;
        }
        if (waited >= milliseconds) {
            return false;
        }
        Sleep(20);
    }
}

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

// A copy waits only briefly: it runs on the window's thread.
bool SetClipboardText(const std::string& text) {
    if (!OpenClipboardPatiently(100)) {
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

namespace {

std::optional<std::string> ClipboardText() {
    if (!OpenClipboardPatiently(1000)) {
        return std::nullopt;
    }
    std::optional<std::string> text = std::string();
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        const auto* wide = static_cast<const wchar_t*>(GlobalLock(data));
        size_t length = wide != nullptr ? wcsnlen(wide, GlobalSize(data) / sizeof(wchar_t)) : 0;
        if (length * 4 > kClipboardLimit) {
            text.reset();
        } else if (wide != nullptr) {
            text = AnsiFromWide(std::wstring_view(wide, length));
        }
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

} // namespace

// The read runs on a thread of its own, since an owner that renders on
// request may never answer; whichever comes first, the text or the end of
// the second, is the answer.
void ReadClipboardText(std::function<void(std::optional<std::string>)> answer) {
    struct Pending {
        std::function<void(std::optional<std::string>)> answer;
        std::atomic<bool> answered = false;
    };
    auto pending = std::make_shared<Pending>();
    pending->answer = std::move(answer);
    auto give = [](const std::shared_ptr<Pending>& to, std::optional<std::string> text) {
        if (!to->answered.exchange(true)) {
            PostToWindowThread(
                [to, text = std::move(text)]() mutable { to->answer(std::move(text)); });
        }
    };
    std::thread([pending, give] { give(pending, ClipboardText()); }).detach();
    std::thread([pending, give] {
        std::this_thread::sleep_for(std::chrono::milliseconds(1100));
        give(pending, std::nullopt);
    }).detach();
}

} // namespace orvane
