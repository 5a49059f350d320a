#include "native_path.h"

#include <windows.h>

namespace {

constexpr UINT kGb18030 = 54936;
constexpr UINT kGbk = 936;

UINT AnsiCodePage() {
    static const UINT page = IsValidCodePage(kGb18030) ? kGb18030 : kGbk;
    return page;
}

} // namespace

std::filesystem::path PathOf(std::string_view ansi) {
    if (ansi.empty()) {
        return {};
    }
    int length = MultiByteToWideChar(AnsiCodePage(), 0, ansi.data(), int(ansi.size()), nullptr, 0);
    std::wstring wide(size_t(length), L'\0');
    MultiByteToWideChar(AnsiCodePage(), 0, ansi.data(), int(ansi.size()), wide.data(), length);
    return std::filesystem::path(wide);
}

std::string AnsiOf(const std::filesystem::path& path) {
    const std::wstring& wide = path.native();
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
