#include "unicode_text.h"

#include <cerrno>
#include <iconv.h>

namespace orvane {

namespace {

// What iconv answers for a sequence it cannot convert.
constexpr size_t kFailed = static_cast<size_t>(-1);

class Converter {
public:
    Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
    ~Converter() {
        if (handle_ != iconv_t(-1)) {
            iconv_close(handle_);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // The whole text converted; an invalid byte gives the replacement.
    std::string operator()(std::string_view text, std::string_view replacement) {
        std::string out;
        char* in = const_cast<char*>(text.data());
        size_t left = text.size();
        char buffer[256];
        while (left > 0 && handle_ != iconv_t(-1)) {
            char* next = buffer;
            size_t room = sizeof buffer;
            size_t done = iconv(handle_, &in, &left, &next, &room);
            out.append(buffer, size_t(next - buffer));
            if (done == kFailed && errno != E2BIG) {
                out += replacement; // an invalid or incomplete sequence
                ++in;
                --left;
                iconv(handle_, nullptr, nullptr, nullptr, nullptr);
            }
        }
        return out;
    }

private:
    iconv_t handle_;
};

} // namespace

std::string Utf8Of(std::string_view ansi) {
    Converter convert("UTF-8", "GB18030");
    return convert(ansi, "\xEF\xBF\xBD");
}

std::string AnsiFromUtf8(std::string_view utf8) {
    Converter convert("GB18030", "UTF-8");
    return convert(utf8, "\x84\x31\xA4\x37"); // U+FFFD in GB18030
}

} // namespace orvane
