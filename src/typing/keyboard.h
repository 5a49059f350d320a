#pragma once

#include "typing_sequence.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvane {

// One key the typing presses: a character (one ANSI character, as the
// field holds it), Tab or Enter.
struct Key {
    enum class Kind { Character, Tab, Enter };
    Kind kind = Kind::Character;
    std::string character;
    bool operator==(const Key&) const = default;
};

// The keys of filled strokes: each character of a text a key of its own.
std::vector<Key> KeysOf(const std::vector<Stroke>& strokes);

// What turning the focused window's input method to direct input found.
enum class InputMethodSwitch {
    Direct,      // none there, or already direct: nothing to put back
    SwitchedOff, // it was converting and now is not: to be put back
    Failed,      // it could not be switched, or the switch not confirmed
};

// The desktop's keyboard as the typing uses it: who has the focus, which
// keys are down, one key pressed and let go, the input method turned off
// and back on. Each desktop implements it; the calls run on the window's
// thread, the input method's answers come back there.
class Keyboard {
public:
    virtual ~Keyboard() = default;

    // The top window that has the keyboard focus; 0 for none.
    virtual std::uintptr_t FocusedWindow() = 0;
    // Whether the window is one of this program's own: its main window,
    // a message box, a dialog.
    virtual bool IsOwnWindow(std::uintptr_t window) = 0;
    // Whether any key of the keyboard is physically down, read from the
    // keyboard's state rather than from events.
    virtual bool AnyKeyDown() = 0;

    // Readies the keyboard to type the keys (a key map that holds every
    // character, the lock keys off); the milliseconds until that is in
    // force for every program, or nothing when the keys cannot be typed
    // here. Called again it keeps what is ready.
    virtual std::optional<int> Prepare(const std::vector<Key>& keys) = 0;
    virtual void Press(const Key& key) = 0;
    virtual void Release(const Key& key) = 0;
    // Puts back what Prepare changed that belongs to the user (the lock
    // keys).
    virtual void Finish() = 0;

    // Turns the input method of the focused window to direct input.
    virtual void TurnInputMethodOff(std::function<void(InputMethodSwitch)> done) = 0;
    // Turns it back on after SwitchedOff; `done` says whether that was
    // confirmed.
    virtual void TurnInputMethodBackOn(std::function<void(bool)> done) = 0;
};

} // namespace orvane
