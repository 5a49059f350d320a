#pragma once

#include "runtime/work_queue.h"
#include "typing/keyboard.h"

#include <windows.h>

namespace orvane {

// The keyboard of Windows: the foreground window has the focus, the keys'
// state is the system's, each character goes as a Unicode key stroke
// (whatever the layout, Caps Lock or Shift), Tab and Enter as their keys.
// The input method is the focus window's, opened and closed through its
// default IME window. The focused box is read on a thread of its own: a
// program slow to answer never holds the window.
class ForegroundKeyboard final : public Keyboard {
public:
    ForegroundKeyboard();
    ~ForegroundKeyboard() override;
    ForegroundKeyboard(const ForegroundKeyboard&) = delete;
    ForegroundKeyboard& operator=(const ForegroundKeyboard&) = delete;

    std::uintptr_t FocusedWindow() override;
    bool IsOwnWindow(std::uintptr_t window) override;
    KeysDown HeldKeys(const HotKey& hotKey) override;
    std::optional<KeysReady> Prepare(const std::vector<Key>& keys) override;
    void Press(const Key& key) override;
    void Release(const Key& key) override;
    void Finish() override;
    void TurnInputMethodOff(std::function<void(InputMethodFound)> done) override;
    void TurnInputMethodBackOn(std::function<void(bool)> done) override;
    void ReadFocusedField(std::function<void(FieldText)> done) override;
    void ReadField(const std::string& field, std::function<void(FieldText)> done) override;

private:
    bool fineTimer_ = false;     // the system's timer at a millisecond, while typing
    HWND inputMethod_ = nullptr; // the IME window closed for the typing
    WorkQueue reads_;
};

} // namespace orvane
