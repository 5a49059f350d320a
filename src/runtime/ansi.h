#pragma once

#include <QString>
#include <string>
#include <string_view>

// The program keeps text as ANSI text: GB18030 bytes in std::string. These
// convert at the boundary where text meets Qt or the file system.
QString ToUnicode(std::string_view ansi);
std::string ToAnsi(const QString& text);

// File-system paths: the native encoding (UTF-8 on Linux) to and from ANSI.
std::string NativePath(std::string_view ansiPath);
std::string AnsiFromNativePath(const std::string& nativePath);
