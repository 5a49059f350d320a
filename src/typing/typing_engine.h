#pragma once

#include "runtime/lifetime.h"
#include "typing/keyboard.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
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
    KeysHeld,     // the keys were not all let go in time: stopped there, or nothing typed
    InputMethod,  // the input method could not be turned off: nothing typed
    FocusChanged, // the focus moved to another window: typing stopped there, or never started
    KeyPressed,   // the user pressed a key while typing: stopped there
    CannotType,   // the desktop cannot type these keys: stopped there, or nothing typed
    BoxNotEmpty,  // the box focused at the press held text: nothing typed
    Mismatch,     // a box did not read back as typed: stopped there
    NotMoved,     // a Tab did not take the focus to another box: stopped there
    BoxLeft,      // the focus left a box while it was typed: stopped there
};

struct TypingReport {
    TypingOutcome outcome = TypingOutcome::Typed;
    bool keysSent = false;           // some keys reached the window
    bool inputMethodRestored = true; // false: turned off and not back on
    bool checked = false;            // every box typed read back as typed
    size_t box = 0;                  // the box it stopped at: 0 before the first Tab or Enter
    std::string arrived;             // Mismatch: what that box held
    // When the keys were seen let go, which typing waits for; the press's
    // moment where they never were.
    std::chrono::steady_clock::time_point released;
};

// The pace of the typing. A key is held, then let go, then the next one
// follows; the same key again waits longer, so that a program that reads
// its keys late still sees two presses. An input method's module loses
// keys that come faster than it passes them on.
struct TypingPace {
    std::chrono::milliseconds hold{2};
    std::chrono::milliseconds gap{3};
    std::chrono::milliseconds repeatGap{10};
    std::chrono::milliseconds inputMethodGap{12};
    std::chrono::milliseconds inputMethodRepeatGap{30};
    std::chrono::milliseconds poll{5};     // the keyboard's state, a box's text, while waiting
    std::chrono::milliseconds letGo{3000}; // the longest wait for the keys to be let go
    std::chrono::milliseconds taken{150};  // for a window that cannot be read to take the keys
    std::chrono::milliseconds quiet{700};  // after typing, presses type nothing
    // The longest wait for a box's text, the first one's among them: a
    // loaded machine may keep a program's answer (Firefox's took over 400 ms
    // beside another test on two cores); and for typed keys to show in a
    // box or the focus to move.
    std::chrono::milliseconds read{1000};
    std::chrono::milliseconds arrive{500};
};

// Types keys into another program's window for a press of the hot key. The
// press is taken when the key goes down; typing starts once every key is
// let go, with the input method turned to direct input and back afterwards.
// Where the desktop can read the focused box, each box (the keys between
// Tab and Enter) is read before its first key and after its last: the first
// must be empty, each must hold what was typed. It stops at a key the user
// presses or a change of focus, and waits while the hot key is pressed
// again; no key goes to this program's own windows. One press at a time: a
// press while one is under way, or soon after it ended, would land in the
// same form and is not taken.
class TypingEngine {
public:
    TypingEngine(Keyboard& keyboard, TypingTimer& timer, TypingPace pace = {});
    TypingEngine(const TypingEngine&) = delete;
    TypingEngine& operator=(const TypingEngine&) = delete;

    // Whether a press is under way.
    bool Typing() const;
    // Whether a press now comes too soon after one that typed.
    bool Quiet();
    // Takes a press of `hotKey`: `done` runs once with the outcome. A press
    // while Typing or Quiet is not taken: nothing happens, and false is
    // returned.
    bool Press(std::vector<Key> keys, const HotKey& hotKey, std::function<void(TypingReport)> done);

private:
    enum class State {
        Idle,
        WaitingForRelease,
        ReadingFirstBox,
        SwitchingInputMethod,
        Typing,
        Ending,
        Draining
    };
    // The keys between Tab and Enter: one box of the form.
    struct Box {
        size_t begin = 0;
        size_t end = 0;
        std::string text;
    };
    using Step = void (TypingEngine::*)();
    using Answer = void (TypingEngine::*)(const FieldText&);

    void After(std::chrono::milliseconds delay, Step step);
    void Read(std::chrono::milliseconds limit, Answer answer);
    void ReadFirstBoxEarly();
    void WaitForRelease();
    void FirstBoxLate();
    void OnFirstBox(const FieldText& field);
    void OnInputMethod(InputMethodFound found);
    void TypeNext();
    bool UserKeysStop();
    bool WaitForKeys(Step again);
    void ReadBoxReached();
    void OnBoxReached(const FieldText& field);
    void ReadRepeated();
    void OnRepeated(const FieldText& field);
    void ReadBoxTyped();
    void OnBoxTyped(const FieldText& field);
    void CompareBox(const FieldText& field);
    void PressNext();
    void ReleaseKey();
    void ResendTab();
    void CheckTaken();
    void End(TypingOutcome outcome);
    void Report(bool restored);
    void DrainHeldKeys();

    Keyboard& keyboard_;
    TypingTimer& timer_;
    const TypingPace pace_;
    State state_ = State::Idle;
    std::vector<Key> keys_;
    std::vector<Box> boxes_;
    HotKey hotKey_;
    size_t next_ = 0;
    size_t readyEnd_ = 0;     // the keys before it can be typed now
    size_t box_ = 0;          // the box of the next key, or the one it ends
    bool reached_ = true;     // box_ read before its first key
    bool tabChorded_ = false; // the last Tab went while keys of the user's were down
    bool typed_ = false;      // box_ read after its last key
    bool repeatSeen_ = false; // the key before the next one, its repeat, read in the box
    bool checking_ = false;
    std::optional<FieldText> firstBox_; // as read at the press
    std::string field_;                 // the field box_ is in
    std::string before_;                // what it held before
    std::chrono::milliseconds gap_{0};
    std::chrono::milliseconds repeatGap_{0};
    std::function<void(TypingReport)> done_;
    TypingReport report_;
    std::uintptr_t target_ = 0;
    bool prepared_ = false;
    bool turnedOff_ = false;
    int reads_ = 0; // an answer counts while none was asked after it
    std::optional<std::chrono::steady_clock::time_point> pausedSince_;
    std::chrono::steady_clock::time_point readyAt_;
    std::chrono::steady_clock::time_point letGoBy_;
    std::chrono::steady_clock::time_point arriveBy_;
    std::chrono::steady_clock::time_point quietUntil_;
    Lifetime lifetime_; // last, so that its steps end before the members go
};

} // namespace orvane
