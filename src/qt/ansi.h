#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace orvane {

// The program keeps text as ANSI text: GB18030 bytes in std::string. These
// convert where text meets Qt.
QString ToUnicode(std::string_view ansi);
std::string ToAnsi(const QString& text);

} // namespace orvane
