#pragma once

#include <string>

namespace orvane {

// The words of the hot key's and the sequence's refusals, kept apart from
// the parsers so that these build without the program's character set.

// What a chord that cannot be the hot key is for.
enum class ReservedUse { Editing, Page, Menu, WindowManager, System, Desktop, Console };

std::string UnknownModifierText(const std::string& part);
std::string UnknownKeyText(const std::string& part);
std::string RepeatedModifierText(const std::string& part);
std::string NoModifierText();
std::string ReservedKeyText(const std::string& key, ReservedUse use);
std::string MissingBraceText(const std::string& rest);
std::string UnknownNameText(const std::string& name);
std::string NoFieldText();
std::string LongSequenceText(size_t length, size_t limit);
// The names of the boxes the sequence types into.
std::string JoinedName(const std::string& names, const std::string& field);
std::string UnnamedBoxText(size_t place);

} // namespace orvane
