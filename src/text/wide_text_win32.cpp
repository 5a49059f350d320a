#include "wide_text.h"

#include <windows.h>

namespace orvane {

namespace {

constexpr UINT kGb18030 = 54936;
constexpr UINT kGbk = 936;

UINT AnsiCodePage() {
    static const UINT page = IsValidCodePage(kGb18030) ? kGb18030 : kGbk;
    return page;
}

} // namespace

std::wstring WideFromAnsi(std::string_view ansi) {
    if (ansi.empty()) {
        return {};
    }
    int length = MultiByteToWideChar(AnsiCodePage(), 0, ansi.data(), int(ansi.size()), nullptr, 0);
    std::wstring wide(size_t(length), L'\0');
    MultiByteToWideChar(AnsiCodePage(), 0, ansi.data(), int(ansi.size()), wide.data(), length);
    return wide;
}

std::string AnsiFromWide(std::wstring_view wide) {
    if (wide.empty()) {
        return {};
    }
    int length = WideCharToMultiByte(AnsiCodePage(), 0, wide.data(), int(wide.size()), nullptr, 0,
                                     nullptr, nullptr);
    std::string ansi(size_t(length), '\0');
    WideCharToMultiByte(AnsiCodePage(), 0, wide.data(), int(wide.size()), ansi.data(), length,
                        nullptr, nullptr);
    return ansi;
}

} // namespace orvane
