#pragma once

#include "storage/information_file.h"
#include "typing/typing_sequence.h"

#include <memory>
#include <string>
#include <vector>

namespace orvane {

class ClockDisplay;
class Window;
class WorkQueue;

// The 配置 page's countdown and typing: the opening time and its sound for
// the clock's countdown, and the hot key that types the next applicant into
// another program with the sequence it types. The settings are read from
// the information file at every start and written there, on the file
// queue, when they change.
class Assist {
public:
    Assist(Window& window, ClockDisplay& clock, WorkQueue& files,
           std::string file = InformationFilePath());
    // Gives the hot key back.
    ~Assist();
    Assist(const Assist&) = delete;
    Assist& operator=(const Assist&) = delete;

    // At start, before the window is shown: the settings into their boxes,
    // the opening time to the clock, the hot key taken.
    void Start();
    // Each change of the opening time: a valid time (or none) counts down at
    // once and is stored; anything else is marked in its box.
    void OnOpeningTimeEdited();
    // "提示音".
    void OnSoundClicked();
    // "设置": takes the hot key and the sequence in their boxes, or says
    // what is wrong with them.
    void OnSetClicked();
    // The hot key: types the next group into the focused window of another
    // program and greys its copy buttons; pressed again while that goes on,
    // it types the group after once that is done.
    void OnHotKey();

private:
    void Store(const std::string& key, const std::string& value);
    bool TakeTyping();

    Window& window_;
    ClockDisplay& clock_;
    WorkQueue& files_;
    const std::string file_;
    std::string storedOpening_;
    std::vector<Stroke> sequence_;
    bool typing_ = false;
    bool pressedAgain_ = false; // while typing
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

} // namespace orvane
