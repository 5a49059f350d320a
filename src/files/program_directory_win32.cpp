#include "program_directory.h"

#include "native_path.h"

#include <filesystem>
#include <windows.h>

namespace orvane {

std::string DataDirectory(const std::string& fileName) {
    return DataFolderFor(ProgramDirectory(), fileName).folder;
}

DataFolder DataFolderFor(const std::string& programDirectory, const std::string&) {
    return {programDirectory, {}};
}

std::string ProgramPath() {
    wchar_t buffer[32768];
    DWORD length = GetModuleFileNameW(nullptr, buffer, DWORD(std::size(buffer)));
    return AnsiOf(std::filesystem::path(std::wstring(buffer, length)));
}

std::string ProgramDirectory() {
    return AnsiOf(PathOf(ProgramPath()).parent_path());
}

} // namespace orvane
