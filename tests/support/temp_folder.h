#pragma once

#include "ansi_literals.h"
#include "native_path.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>

// A fresh folder with a Chinese name, as users' folders often have, removed
// with everything in it when the test ends. Names and bytes are ANSI text.
class TempFolder {
public:
    TempFolder() : path(AnsiFromNativePath(root_) + "/预约") {
        ::mkdir(NativePath(path).c_str(), 0700);
    }
    ~TempFolder() {
        std::error_code ignored;
        if (!root_.empty()) {
            std::filesystem::remove_all(root_, ignored);
        }
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string Path(const std::string& name) const { return path + "/" + name; }
    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(NativePath(Path(name)), std::ios::binary) << bytes;
    }
    std::string Bytes(const std::string& name) const {
        std::ifstream in(NativePath(Path(name)), std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }
    bool Exists(const std::string& name) const {
        struct stat st {};
        return ::lstat(NativePath(Path(name)).c_str(), &st) == 0;
    }
    mode_t Mode(const std::string& name) const {
        struct stat st {};
        ::stat(NativePath(Path(name)).c_str(), &st);
        return st.st_mode & 0777;
    }

private:
    const std::string root_ = MakeTemporary(); // native; first, as path is inside it

public:
    const std::string path;

private:
    static std::string MakeTemporary() {
        std::string pattern = (std::filesystem::temp_directory_path() / "orvane-XXXXXX").string();
        return ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
    }
};
