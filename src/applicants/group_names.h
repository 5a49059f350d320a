#pragma once

#include <array>
#include <cstddef>
#include <string>

namespace orvane {

// The applicant groups and their fields, named as the window and the
// information file name them.

inline constexpr int kGroupCount = 25;

// The field keys, in the order applicant data is always handled. They name
// the edit boxes and the keys of the information file alike.
inline constexpr int kFieldCount = 3;
extern const std::array<std::string, kFieldCount> kFieldKeys;
const std::string& NameKey();
const std::string& IdKey();
const std::string& PhoneKey();

// The most ANSI bytes a field's edit box takes: 18 for the ID number, 11
// for the phone number, and for a name what the information file keeps.
size_t FieldByteLimit(const std::string& key);

std::string ChineseNumeral(int n); // 1..99: "一" … "九十九"
// "第三组": the group box's caption and the group's section in the file.
std::string GroupCaption(int group);

} // namespace orvane
