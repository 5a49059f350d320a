#pragma once

#include "storage/assist_settings.h"
#include "storage/information_file.h"

#include <string>

namespace orvane {

class ClockDisplay;
class Window;
class WorkQueue;

// The 配置 page's countdown: the opening time and its sound for the clock's
// countdown. The settings are read from the information file at every
// start and written there, on the file queue, when they change.
class Assist {
public:
    Assist(Window& window, ClockDisplay& clock, WorkQueue& files,
           std::string file = InformationFilePath());

    // At start, before the window is shown: the settings into their boxes,
    // the opening time to the clock. Returns every setting of the 配置
    // page, as the file holds them.
    AssistSettings Start();
    // Each change of the opening time: a valid time (or none) counts down at
    // once and is stored; anything else is marked in its box.
    void OnOpeningTimeEdited();
    // "提示音".
    void OnSoundClicked();

    const std::string& File() const { return file_; }

private:
    Window& window_;
    ClockDisplay& clock_;
    WorkQueue& files_;
    const std::string file_;
    std::string storedOpening_;
};

} // namespace orvane
