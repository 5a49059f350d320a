#include "native_path.h"

#include "text/unicode_text.h"

namespace orvane {

std::string NativePath(std::string_view ansiPath) {
    return Utf8Of(ansiPath);
}

std::string AnsiFromNativePath(std::string_view nativePath) {
    return AnsiFromUtf8(nativePath);
}

std::filesystem::path PathOf(std::string_view ansi) {
    return {NativePath(ansi)};
}

std::string AnsiOf(const std::filesystem::path& path) {
    return AnsiFromNativePath(path.native());
}

} // namespace orvane
