// The words the settings' parsers refuse with and the field keys they know,
// in place of the program's own: clang builds no GB18030 text.
#include "applicants/group_names.h"
#include "opening/opening_time.h"
#include "typing/typing_texts.h"

namespace orvane {

const std::array<std::string, kFieldCount> kFieldKeys = {"name", "id", "phone"};

std::string UnknownModifierText(const std::string& part) {
    return "modifier " + part;
}
std::string UnknownKeyText(const std::string& part) {
    return "key " + part;
}
std::string RepeatedModifierText(const std::string& part) {
    return "repeated " + part;
}
std::string NoModifierText() {
    return "no modifier";
}
std::string ReservedKeyText(const std::string& key, ReservedUse) {
    return "reserved " + key;
}
std::string MissingBraceText(const std::string& rest) {
    return "missing } " + rest;
}
std::string UnknownNameText(const std::string& name) {
    return "name " + name;
}
std::string NoFieldText() {
    return "no field";
}
std::string LongSequenceText(size_t, size_t) {
    return "too long";
}
std::string JoinedName(const std::string& names, const std::string& field) {
    return names + "," + field;
}
std::string UnnamedBoxText(size_t place) {
    return "box " + std::to_string(place);
}
std::string UnreadableOpeningTimeText(const std::string& text) {
    return "time " + text;
}

} // namespace orvane
