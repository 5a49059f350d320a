#pragma once

#include <string>

namespace orvane {

// The words of the hot key's and the sequence's refusals, kept apart from
// the parsers so that these build without the program's character set.

std::string UnknownModifierText(const std::string& part);
std::string UnknownKeyText(const std::string& part);
std::string NoModifierText();
std::string MissingBraceText(const std::string& rest);
std::string UnknownNameText(const std::string& name);

} // namespace orvane
