#pragma once

#include <array>
#include <string>

// Applicant groups and the names of their components. Every handler and the
// information file address the groups through these names.

inline constexpr int kGroupCount = 25;
inline constexpr int kGroupsPerPage = 5;
inline constexpr int kGroupPageCount = kGroupCount / kGroupsPerPage;

// The field keys, in the order applicant data is always handled.
extern const std::array<std::string, 3> kFieldKeys;
const std::string& NameKey();
const std::string& IdKey();
const std::string& PhoneKey();

std::string ChineseNumeral(int n);   // 1..99: "一" … "九十九"
std::string GroupCaption(int group); // "第三组"
std::string PageCaption(int page);   // "第三页"
int PageOfGroup(int group);          // 1-based
int FirstGroupOfPage(int page);

std::string GroupBoxName(int group);                        // 分组框3
std::string EditBoxName(int group, const std::string& key); // 编辑框3_姓名
std::string CopyButtonName(int group, const std::string& key);
std::string RestoreButtonName(int group);
std::string PagePhoneBoxName(int page);    // 编辑框_第三页手机号
std::string PagePhoneButtonName(int page); // 按钮_第三页设置
std::string DrawPanelName(int page);       // 画板3

extern const std::string kAllPhoneBox;
extern const std::string kAllPhoneButton;
extern const std::string kRememberBox;
extern const std::string kTopmostBox;
extern const std::string kTimeToggleButton;
extern const std::string kSaveButton;
extern const std::string kLoadButton;
extern const std::string kPageControl;
extern const std::string kStatusBar;
extern const std::string kClock;
extern const std::string kMainWindow;
