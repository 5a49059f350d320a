#include "unicode_text.h"

#include "wide_text.h"

#include <algorithm>
#include <windows.h>

namespace orvane {

std::string Utf8Of(std::string_view ansi) {
    std::wstring wide = WideFromAnsi(ansi);
    int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr,
                                     nullptr);
    std::string utf8(size_t(std::max(length, 0)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), utf8.data(), length, nullptr,
                        nullptr);
    return utf8;
}

std::string AnsiFromUtf8(std::string_view utf8) {
    int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring wide(size_t(std::max(length, 0)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), wide.data(), length);
    return AnsiFromWide(wide);
}

} // namespace orvane
