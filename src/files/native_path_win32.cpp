#include "native_path.h"

#include "text/wide_text.h"

namespace orvane {

std::filesystem::path PathOf(std::string_view ansi) {
    return {WideFromAnsi(ansi)};
}

std::string AnsiOf(const std::filesystem::path& path) {
    return AnsiFromWide(path.native());
}

} // namespace orvane
