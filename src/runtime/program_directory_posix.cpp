#include "program_directory.h"

#include "native_path.h"

#include <filesystem>

namespace orvane {

std::string ProgramDirectory() {
    std::error_code error;
    return AnsiOf(std::filesystem::read_symlink("/proc/self/exe", error).parent_path());
}

} // namespace orvane
