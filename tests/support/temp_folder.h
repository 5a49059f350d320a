#pragma once

#include "ansi.h"
#include "ansi_literals.h"

#include <QTemporaryDir>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>

// A fresh folder with a Chinese name, as users' folders often have, removed
// with everything in it when the test ends. Names and bytes are ANSI text.
class TempFolder {
public:
    TempFolder() : path(AnsiFromNativePath(temporary_.path().toStdString()) + "/预约") {
        ::mkdir(NativePath(path).c_str(), 0700);
    }

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
    QTemporaryDir temporary_; // first: path is made inside it

public:
    const std::string path;
};
