#pragma once

#include "storage/information_file.h"

#include <string>

namespace orvane {

class Window;
class WorkQueue;

// The window's handlers for the information file. The disk work runs on the
// file queue given; the window answers clicks meanwhile.

// "保存配置": stores the 75 fields as they are at the click. When the write
// fails the user is told, with the path and the reason, and the old file
// stays untouched.
void SaveApplicants(Window& window, WorkQueue& files,
                    const std::string& file = InformationFilePath());

// "读取配置": fills the 75 fields from the file once it is read; a missing
// file, section or key empties its field. Used marks and the phone-fill
// boxes stay. A file that is there but cannot be read (unreadable, not a
// regular file, too large) changes nothing, and the user is told why.
void LoadApplicants(Window& window, WorkQueue& files,
                    const std::string& file = InformationFilePath());

// At start-up, before the window is shown: a stored flag that is true, or
// none at all, ticks "记住配置" and loads the applicants at once; anything
// else leaves both alone. Nothing is visible yet, so this reads directly,
// once, and returns what it read for the settings. A file that cannot be
// read counts as missing, and the user is told why.
InformationRead ApplyRememberFlag(Window& window, const std::string& file = InformationFilePath());

// Where the file is, in the tooltips of 保存配置 and 读取配置: beside the
// program, or in the user's data folder.
void ShowInformationFile(Window& window, const std::string& file = InformationFilePath());

// "记住配置": records the box's new state for the next start. When that
// fails, the user is told as for a failed save, and the file stays as it
// was.
void OnRememberClicked(Window& window, WorkQueue& files,
                       const std::string& file = InformationFilePath());

} // namespace orvane
