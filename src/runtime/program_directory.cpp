#include "program_directory.h"

#include "native_path.h"

#include <filesystem>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

std::filesystem::path ExecutablePath() {
#ifdef _WIN32
    wchar_t buffer[32768];
    DWORD length = GetModuleFileNameW(nullptr, buffer, DWORD(std::size(buffer)));
    return std::filesystem::path(std::wstring(buffer, length));
#else
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error);
#endif
}

} // namespace

std::string ProgramDirectory() {
    return AnsiOf(ExecutablePath().parent_path());
}
