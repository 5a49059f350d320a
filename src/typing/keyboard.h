#pragma once

#include "typing/hot_key.h"
#include "typing/typing_sequence.h"

#include <cstddef>
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

// The keys of filled steps: each character of a text a key of its own.
std::vector<Key> KeysOf(const std::vector<SequenceStep>& steps);

// Which keys of the keyboard are physically down.
enum class KeysDown {
    None,
    HotKeyOnly, // only keys of the hot key's chord: the user pressing it again
    Others,     // a key of the user's
};

// What turning the focused window's input method to direct input found.
enum class InputMethodSwitch {
    Direct,      // none there, or already direct: nothing to put back
    SwitchedOff, // it was converting and now is not: to be put back
    Failed,      // it could not be switched, or the switch not confirmed
};

struct InputMethodFound {
    InputMethodSwitch turn = InputMethodSwitch::Direct;
    // An input method's module sits between the keys and the programs
    // (switched off or not): it loses keys that come too fast.
    bool inPath = false;
};

// The text of the field that has the keyboard focus, as the desktop's
// accessibility reads it from another program.
struct FieldText {
    bool readable = false; // false: nothing could be read (no accessibility, no text field)
    std::string field;     // which field it is: the same for the same field
    std::string text;      // ANSI
};

// How many keys, from the first one asked for, can be typed now, and the
// milliseconds until every program types them as meant.
struct KeysReady {
    size_t count = 0;
    int settle = 0;
};

// The desktop's keyboard as the typing uses it: who has the focus, which
// keys are down, one key pressed and let go, the input method turned off
// and back on, the focused field read. Each desktop implements it; the
// calls run on the window's thread, answers come back there.
class Keyboard {
public:
    virtual ~Keyboard() = default;

    // The top window that has the keyboard focus; 0 for none.
    virtual std::uintptr_t FocusedWindow() = 0;
    // Whether the window is one of this program's own: its main window,
    // a message box, a dialog.
    virtual bool IsOwnWindow(std::uintptr_t window) = 0;
    // The keys physically down, read from the keyboard's state rather than
    // from events; those of `hotKey` told apart.
    virtual KeysDown HeldKeys(const HotKey& hotKey) = 0;

    // Readies the keyboard to type the keys from the first on (a key map
    // that holds their characters, the lock keys off): how many can be
    // typed now, or nothing when the first cannot be typed here.
    virtual std::optional<KeysReady> Prepare(const std::vector<Key>& keys) = 0;
    virtual void Press(const Key& key) = 0;
    virtual void Release(const Key& key) = 0;
    // Puts back what Prepare changed: the key map, the lock keys.
    virtual void Finish() = 0;

    // Turns the input method of the focused window to direct input.
    virtual void TurnInputMethodOff(std::function<void(InputMethodFound)> done) = 0;
    // Turns it back on after SwitchedOff; `done` says whether that was
    // confirmed.
    virtual void TurnInputMethodBackOn(std::function<void(bool)> done) = 0;

    // Reads the focused field of the focused window; `done` runs once, on
    // the window's thread, possibly before this returns.
    virtual void ReadFocusedField(std::function<void(FieldText)> done) = 0;
    // Reads a field that an earlier reading found, focused or not.
    virtual void ReadField(const std::string& field, std::function<void(FieldText)> done) = 0;
};

} // namespace orvane
