#include "text_of.h"

#include "text/wide_text.h"

namespace orvane {

std::string TextOf(HWND control) {
    int length = GetWindowTextLengthW(control);
    std::wstring text(size_t(length) + 1, L'\0');
    length = GetWindowTextW(control, text.data(), length + 1);
    text.resize(size_t(std::max(length, 0)));
    return AnsiFromWide(text);
}

} // namespace orvane
