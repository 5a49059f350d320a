#pragma once

#include "files/native_path.h"
#include "text/ansi_literals.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace orvane {

// A fresh folder with a Chinese name, as users' folders often have, removed
// with everything in it when the test ends. Names and bytes are ANSI text.
class TempFolder {
public:
    TempFolder() : path(AnsiOf(root_) + "/预约") {
        std::error_code ignored;
        std::filesystem::create_directory(PathOf(path), ignored);
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
        std::ofstream(PathOf(Path(name)), std::ios::binary) << bytes;
    }
    std::string Bytes(const std::string& name) const {
        std::ifstream in(PathOf(Path(name)), std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }
    bool Exists(const std::string& name) const {
        std::error_code ignored;
        return std::filesystem::exists(
            std::filesystem::symlink_status(PathOf(Path(name)), ignored));
    }
    void Remove(const std::string& name) const {
        std::error_code ignored;
        std::filesystem::remove(PathOf(Path(name)), ignored);
    }
    // Read-only as the system marks it: no write bits, or the read-only
    // attribute on Windows.
    void MakeReadOnly(const std::string& name) const {
        using std::filesystem::perms;
        std::filesystem::permissions(PathOf(Path(name)),
                                     perms::owner_read | perms::group_read | perms::others_read);
    }
#ifndef _WIN32
    mode_t Mode(const std::string& name) const {
        struct stat st {};
        ::stat(NativePath(Path(name)).c_str(), &st);
        return st.st_mode & 0777;
    }
#endif

private:
    const std::filesystem::path root_ = MakeTemporary(); // first: path is inside it

public:
    const std::string path;

private:
    static std::filesystem::path MakeTemporary() {
        std::random_device seed;
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::filesystem::path folder =
                std::filesystem::temp_directory_path() / ("orvane-" + std::to_string(seed()));
            std::error_code error;
            if (std::filesystem::create_directory(folder, error)) {
                return folder;
            }
        }
        return {};
    }
};

} // namespace orvane
