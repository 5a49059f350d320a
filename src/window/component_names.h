#pragma once

#include "applicants/group_names.h"

#include <string>

namespace orvane {

// The names of the window's components. Every handler addresses the groups'
// components through these names.

inline constexpr int kGroupsPerPage = 5;
inline constexpr int kGroupPageCount = kGroupCount / kGroupsPerPage;

std::string PageCaption(int page); // "第三页"
int PageOfGroup(int group);        // 1-based
int FirstGroupOfPage(int page);

std::string GroupBoxName(int group);                        // 分组框3
std::string EditBoxName(int group, const std::string& key); // 编辑框3_姓名
std::string CopyButtonName(int group, const std::string& key);
std::string RestoreButtonName(int group);
std::string PagePhoneBoxName(int page);    // 编辑框_第三页手机号
std::string PagePhoneButtonName(int page); // 按钮_第三页设置
std::string DrawPanelName(int page);       // 画板3

// A name the layout does not hold, or not of the kind a call needs, is a
// slip in the program: a debug build stops there, naming it; a release
// build goes on and the call does nothing. Both desktops check through this.
void ExpectComponent(bool found, const std::string& name);

extern const std::string kAllPhoneBox;
extern const std::string kAllPhoneButton;
extern const std::string kRememberBox;
extern const std::string kTopmostBox;
extern const std::string kTimeToggleButton;
extern const std::string kSaveButton;
extern const std::string kLoadButton;
extern const std::string kPageControl;
extern const std::string kStatusBar;
// The status bar's panels: the time, and the hot key's line.
inline constexpr int kTimePanel = 0;
inline constexpr int kTypingPanel = 1;
// The timer that ticks the status bar's time and the countdown.
extern const std::string kTicker;
// Its interval while it runs.
inline constexpr int kTickerInterval = 900;
extern const std::string kMainWindow;
// The 配置 page's countdown and typing settings.
extern const std::string kOpeningTimeBox;
extern const std::string kSoundBox;
extern const std::string kHotKeyBox;
extern const std::string kSequenceBox;
extern const std::string kTypingButton;   // "设置": takes the hot key and the sequence
extern const std::string kTimeUrlBox;     // the server whose clock counts
extern const std::string kRehearseButton; // "演练": the hot key tried on a practice form

} // namespace orvane
