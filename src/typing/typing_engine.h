#pragma once

#include "keyboard.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace orvane {

// Time as the typing engine waits on it: the window's timers in the
// program, a clock of their own in tests.
class TypingTimer {
public:
    virtual ~TypingTimer() = default;
    virtual std::chrono::steady_clock::time_point Now() = 0;
    // Runs the task once, on the window's thread, after the delay.
    virtual void After(std::chrono::milliseconds delay, std::function<void()> task) = 0;
};

// How a press of the hot key ended.
enum class TypingOutcome {
    Typed,        // every key went to the window focused at the press, which kept the focus
    NoFocus,      // no window had the keyboard focus: nothing typed
    OwnWindow,    // the focus was in this program: nothing typed
    KeysHeld,     // the keys were not all let go in time: nothing typed
    InputMethod,  // the input method could not be turned off: nothing typed
    FocusChanged, // the focus moved: typing stopped there, or never started
    KeyPressed,   // the user pressed a key while typing: stopped there
    CannotType,   // the desktop cannot type these keys: nothing typed
};

struct TypingReport {
    TypingOutcome outcome = TypingOutcome::Typed;
    bool keysSent = false;           // some keys reached the window
    bool inputMethodRestored = true; // false: turned off and not back on
};

// The pace of the typing. A key is held, then let go, then the next one
// follows; the same key again waits longer, so that a program that reads
// its keys late still sees two presses.
struct TypingPace {
    std::chrono::milliseconds hold{2};
    std::chrono::milliseconds gap{3};
    std::chrono::milliseconds repeatGap{10};
    std::chrono::milliseconds poll{5};     // the keyboard's state, while waiting
    std::chrono::milliseconds letGo{3000}; // the longest wait for the keys to be let go
    std::chrono::milliseconds taken{150};  // for the window to take the last keys
    std::chrono::milliseconds quiet{700};  // after typing, presses type nothing
};

// Types keys into another program's window for a press of the hot key. The
// press is taken when the key goes down; typing starts once every key is
// let go, with the input method turned to direct input and back afterwards.
// It stops at a key the user presses or a change of focus; no key goes to
// this program's own windows. One press at a time: a press while one is
// under way, or soon after it ended, would land in the same form and is
// not taken.
class TypingEngine {
public:
    TypingEngine(Keyboard& keyboard, TypingTimer& timer, TypingPace pace = {});
    TypingEngine(const TypingEngine&) = delete;
    TypingEngine& operator=(const TypingEngine&) = delete;

    // Whether a press now would be taken.
    bool Busy();
    // Takes a press: `done` runs once with the outcome. A press while Busy
    // is not taken: nothing happens, and false is returned.
    bool Press(std::vector<Key> keys, std::function<void(TypingReport)> done);

private:
    enum class State { Idle, WaitingForRelease, SwitchingInputMethod, Typing, Ending, Draining };

    void After(std::chrono::milliseconds delay, void (TypingEngine::*step)());
    void WaitForRelease();
    void OnInputMethod(InputMethodSwitch found);
    void TypeNext();
    void ReleaseKey();
    void CheckTaken();
    void End(TypingOutcome outcome);
    void Report(bool restored);
    void DrainHeldKeys();

    Keyboard& keyboard_;
    TypingTimer& timer_;
    const TypingPace pace_;
    State state_ = State::Idle;
    std::vector<Key> keys_;
    size_t next_ = 0;
    std::function<void(TypingReport)> done_;
    TypingReport report_;
    std::uintptr_t target_ = 0;
    bool prepared_ = false;
    bool turnedOff_ = false;
    std::chrono::steady_clock::time_point readyAt_;
    std::chrono::steady_clock::time_point letGoBy_;
    std::chrono::steady_clock::time_point quietUntil_;
    // Expires with the engine: its waits check it.
    std::shared_ptr<const int> alive_ = std::make_shared<const int>(0);
};

} // namespace orvane
