#include "typing_engine.h"

#include <algorithm>
#include <utility>

namespace orvane {

using std::chrono::milliseconds;

TypingEngine::TypingEngine(Keyboard& keyboard, TypingTimer& timer, TypingPace pace)
    : keyboard_(keyboard), timer_(timer), pace_(pace) {}

bool TypingEngine::Busy() {
    return state_ != State::Idle || timer_.Now() < quietUntil_;
}

bool TypingEngine::Press(std::vector<Key> keys, std::function<void(TypingReport)> done) {
    if (Busy()) {
        return false;
    }
    keys_ = std::move(keys);
    done_ = std::move(done);
    next_ = 0;
    report_ = {};
    prepared_ = false;
    turnedOff_ = false;
    state_ = State::WaitingForRelease;
    target_ = keyboard_.FocusedWindow();
    if (target_ == 0) {
        End(TypingOutcome::NoFocus);
        return true;
    }
    if (keyboard_.IsOwnWindow(target_)) {
        End(TypingOutcome::OwnWindow);
        return true;
    }
    // The key map is made ready while the user still holds the keys.
    std::optional<int> settle = keyboard_.Prepare(keys_);
    if (!settle) {
        End(TypingOutcome::CannotType);
        return true;
    }
    prepared_ = true;
    auto now = timer_.Now();
    readyAt_ = now + milliseconds(*settle);
    letGoBy_ = now + pace_.letGo;
    WaitForRelease();
    return true;
}

void TypingEngine::After(milliseconds delay, void (TypingEngine::*step)()) {
    std::weak_ptr<const int> alive = alive_;
    timer_.After(delay, [this, alive, step] {
        if (!alive.expired()) {
            (this->*step)();
        }
    });
}

void TypingEngine::WaitForRelease() {
    if (keyboard_.AnyKeyDown()) {
        if (timer_.Now() >= letGoBy_) {
            End(TypingOutcome::KeysHeld);
        } else {
            After(pace_.poll, &TypingEngine::WaitForRelease);
        }
        return;
    }
    if (keyboard_.FocusedWindow() != target_) {
        End(TypingOutcome::FocusChanged);
        return;
    }
    state_ = State::SwitchingInputMethod;
    std::weak_ptr<const int> alive = alive_;
    keyboard_.TurnInputMethodOff([this, alive](InputMethodSwitch found) {
        if (!alive.expired()) {
            OnInputMethod(found);
        }
    });
}

void TypingEngine::OnInputMethod(InputMethodSwitch found) {
    turnedOff_ = found == InputMethodSwitch::SwitchedOff;
    if (found == InputMethodSwitch::Failed) {
        End(TypingOutcome::InputMethod);
        return;
    }
    // Turning the input method off may have changed the key map again.
    std::optional<int> settle = keyboard_.Prepare(keys_);
    if (!settle) {
        End(TypingOutcome::CannotType);
        return;
    }
    auto now = timer_.Now();
    readyAt_ = std::max(readyAt_, now + milliseconds(*settle));
    state_ = State::Typing;
    After(std::max(milliseconds(0), std::chrono::ceil<milliseconds>(readyAt_ - now)),
          &TypingEngine::TypeNext);
}

// Before each key: the focus is where it was, and no key of the user's is
// down (it would change what the key types, or be a key meant to stop).
void TypingEngine::TypeNext() {
    if (next_ == keys_.size()) {
        state_ = State::Ending;
        After(pace_.taken, &TypingEngine::CheckTaken);
        return;
    }
    if (keyboard_.FocusedWindow() != target_) {
        End(TypingOutcome::FocusChanged);
        return;
    }
    if (keyboard_.AnyKeyDown()) {
        End(TypingOutcome::KeyPressed);
        return;
    }
    keyboard_.Press(keys_[next_]);
    report_.keysSent = true;
    After(pace_.hold, &TypingEngine::ReleaseKey);
}

void TypingEngine::ReleaseKey() {
    keyboard_.Release(keys_[next_]);
    ++next_;
    bool again = next_ < keys_.size() && keys_[next_] == keys_[next_ - 1];
    After(again ? pace_.repeatGap : pace_.gap, &TypingEngine::TypeNext);
}

void TypingEngine::CheckTaken() {
    End(keyboard_.FocusedWindow() == target_ ? TypingOutcome::Typed : TypingOutcome::FocusChanged);
}

void TypingEngine::End(TypingOutcome outcome) {
    report_.outcome = outcome;
    if (prepared_) {
        keyboard_.Finish();
    }
    if (report_.keysSent) {
        quietUntil_ = timer_.Now() + pace_.quiet;
    }
    state_ = State::Ending;
    if (!turnedOff_) {
        Report(true);
        return;
    }
    std::weak_ptr<const int> alive = alive_;
    keyboard_.TurnInputMethodBackOn([this, alive](bool restored) {
        if (!alive.expired()) {
            Report(restored);
        }
    });
}

// Keys held past the wait are let go before the next press counts: a key
// still down would repeat into another press.
void TypingEngine::Report(bool restored) {
    report_.inputMethodRestored = restored;
    state_ = report_.outcome == TypingOutcome::KeysHeld ? State::Draining : State::Idle;
    if (state_ == State::Draining) {
        After(pace_.poll, &TypingEngine::DrainHeldKeys);
    }
    std::exchange(done_, nullptr)(report_);
}

void TypingEngine::DrainHeldKeys() {
    if (keyboard_.AnyKeyDown()) {
        After(pace_.poll, &TypingEngine::DrainHeldKeys);
    } else {
        state_ = State::Idle;
    }
}

} // namespace orvane
