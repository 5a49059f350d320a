#include "program_directory.h"

#include "native_path.h"

#include <filesystem>
#include <windows.h>

namespace orvane {

std::string ProgramDirectory() {
    wchar_t buffer[32768];
    DWORD length = GetModuleFileNameW(nullptr, buffer, DWORD(std::size(buffer)));
    return AnsiOf(std::filesystem::path(std::wstring(buffer, length)).parent_path());
}

} // namespace orvane
