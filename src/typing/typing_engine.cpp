#include "typing_engine.h"

#include "read_back.h"

#include <algorithm>
#include <utility>

namespace orvane {

using std::chrono::milliseconds;

namespace {

milliseconds Until(std::chrono::steady_clock::time_point then,
                   std::chrono::steady_clock::time_point now) {
    return std::max(milliseconds(0), std::chrono::ceil<milliseconds>(then - now));
}

} // namespace

TypingEngine::TypingEngine(Keyboard& keyboard, TypingTimer& timer, TypingPace pace)
    : keyboard_(keyboard), timer_(timer), pace_(pace) {}

bool TypingEngine::Typing() const {
    return state_ != State::Idle;
}

bool TypingEngine::Quiet() {
    return state_ == State::Idle && timer_.Now() < quietUntil_;
}

bool TypingEngine::Press(std::vector<Key> keys, const HotKey& hotKey,
                         std::function<void(TypingReport)> done) {
    if (Typing() || Quiet()) {
        return false;
    }
    keys_ = std::move(keys);
    boxes_ = {Box{}};
    for (size_t at = 0; at < keys_.size(); ++at) {
        if (keys_[at].kind == Key::Kind::Character) {
            boxes_.back().text += keys_[at].character;
            boxes_.back().end = at + 1;
        } else {
            boxes_.push_back({at + 1, at + 1, {}});
        }
    }
    hotKey_ = hotKey;
    done_ = std::move(done);
    next_ = 0;
    readyEnd_ = 0;
    box_ = 0;
    reached_ = true;
    typed_ = false;
    report_ = {};
    report_.released = timer_.Now();
    prepared_ = false;
    turnedOff_ = false;
    pausedSince_.reset();
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
    std::optional<KeysReady> ready = keyboard_.Prepare(keys_);
    if (!ready || (ready->count == 0 && !keys_.empty())) {
        End(TypingOutcome::CannotType);
        return true;
    }
    prepared_ = true;
    auto now = timer_.Now();
    readyAt_ = now + milliseconds(ready->settle);
    letGoBy_ = now + pace_.letGo;
    ReadFirstBoxEarly();
    WaitForRelease();
    return true;
}

// While the hot key is held its keys go to this program alone: the box
// cannot change, and is read then, so that its text is at hand when the
// keys are let go. Read before the input method is turned off: that would
// commit a composition into the box.
void TypingEngine::ReadFirstBoxEarly() {
    firstBox_.reset();
    int asked = ++reads_;
    keyboard_.ReadFocusedField(lifetime_.Bind([this, asked](const FieldText& field) {
        if (asked == reads_) {
            firstBox_ = field;
            if (state_ == State::ReadingFirstBox) {
                OnFirstBox(field);
            }
        }
    }));
}

void TypingEngine::After(milliseconds delay, Step step) {
    timer_.After(delay, lifetime_.Bind([this, step] { (this->*step)(); }));
}

// The box's text, or unreadable when no answer comes within the limit.
void TypingEngine::Read(milliseconds limit, Answer answer) {
    int asked = ++reads_;
    auto take = lifetime_.Bind([this, asked, answer](const FieldText& field) {
        if (asked == reads_) {
            ++reads_;
            (this->*answer)(field);
        }
    });
    timer_.After(limit, [take] { take(FieldText{}); });
    keyboard_.ReadFocusedField(take);
}

void TypingEngine::WaitForRelease() {
    if (keyboard_.HeldKeys(hotKey_) != KeysDown::None) {
        if (timer_.Now() >= letGoBy_) {
            End(TypingOutcome::KeysHeld);
        } else {
            After(pace_.poll, &TypingEngine::WaitForRelease);
        }
        return;
    }
    report_.released = timer_.Now();
    if (keyboard_.FocusedWindow() != target_) {
        End(TypingOutcome::FocusChanged);
        return;
    }
    // A box unreadable at the press may have just got the focus: asked
    // again. A program that reads may answer late on a busy machine: the
    // first box is waited for as a later box is (one that cannot be read
    // answers at once), so that the group never goes after text already in
    // the box.
    if (firstBox_ && firstBox_->readable) {
        OnFirstBox(*firstBox_);
    } else if (firstBox_) {
        Read(pace_.read, &TypingEngine::OnFirstBox);
    } else {
        state_ = State::ReadingFirstBox;
        After(pace_.read, &TypingEngine::FirstBoxLate);
    }
}

void TypingEngine::FirstBoxLate() {
    if (state_ == State::ReadingFirstBox) {
        ++reads_;
        OnFirstBox(FieldText{});
    }
}

void TypingEngine::OnFirstBox(const FieldText& field) {
    if (field.readable && HoldsText(field.text)) {
        End(TypingOutcome::BoxNotEmpty);
        return;
    }
    checking_ = field.readable;
    field_ = field.field;
    before_ = field.text;
    state_ = State::SwitchingInputMethod;
    keyboard_.TurnInputMethodOff(
        lifetime_.Bind([this](InputMethodFound found) { OnInputMethod(found); }));
}

void TypingEngine::OnInputMethod(InputMethodFound found) {
    turnedOff_ = found.turn == InputMethodSwitch::SwitchedOff;
    if (found.turn == InputMethodSwitch::Failed) {
        End(TypingOutcome::InputMethod);
        return;
    }
    gap_ = found.inPath ? std::max(pace_.gap, pace_.inputMethodGap) : pace_.gap;
    repeatGap_ =
        found.inPath ? std::max(pace_.repeatGap, pace_.inputMethodRepeatGap) : pace_.repeatGap;
    // Turning the input method off may have changed the key map again.
    std::optional<KeysReady> ready = keyboard_.Prepare(keys_);
    if (!ready || (ready->count == 0 && !keys_.empty())) {
        End(TypingOutcome::CannotType);
        return;
    }
    readyEnd_ = ready->count;
    auto now = timer_.Now();
    readyAt_ = std::max(readyAt_, now + milliseconds(ready->settle));
    state_ = State::Typing;
    After(Until(readyAt_, now), &TypingEngine::TypeNext);
}

// Before each key: the box it ends has been read back, the box it starts
// has the focus, the window has the focus, and no key of the user's is down
// (it would change what the key types, or be a key meant to stop).
void TypingEngine::TypeNext() {
    const Box& box = boxes_[box_];
    if (checking_ && !typed_ && next_ == box.end && box.begin < box.end) {
        ReadBoxTyped();
        return;
    }
    if (next_ == keys_.size()) {
        state_ = State::Ending;
        // A box read back has taken its keys; a Tab or Enter, or a window
        // that cannot be read, is given time to.
        bool readBack = checking_ && box.begin < box.end;
        After(readBack ? milliseconds(0) : pace_.taken, &TypingEngine::CheckTaken);
        return;
    }
    if (checking_ && !reached_) {
        ReadBoxReached();
        return;
    }
    if (keyboard_.FocusedWindow() != target_) {
        End(TypingOutcome::FocusChanged);
        return;
    }
    if (UserKeysStop()) {
        return;
    }
    if (checking_ && !repeatSeen_ && next_ > box.begin && keys_[next_] == keys_[next_ - 1]) {
        ReadRepeated();
        return;
    }
    if (next_ == readyEnd_) {
        std::optional<KeysReady> ready =
            keyboard_.Prepare(std::vector<Key>(keys_.begin() + long(next_), keys_.end()));
        if (!ready || ready->count == 0) {
            End(TypingOutcome::CannotType);
            return;
        }
        readyEnd_ = next_ + ready->count;
        After(milliseconds(ready->settle), &TypingEngine::TypeNext);
        return;
    }
    PressNext();
}

// A key of the user's stops the typing; the hot key pressed again holds it
// until every key is let go, as a key held too long stops it.
bool TypingEngine::UserKeysStop() {
    KeysDown held = keyboard_.HeldKeys(hotKey_);
    if (held == KeysDown::None) {
        pausedSince_.reset();
        return false;
    }
    if (held == KeysDown::Others) {
        End(TypingOutcome::KeyPressed);
        return true;
    }
    auto now = timer_.Now();
    pausedSince_ = pausedSince_.value_or(now);
    if (now - *pausedSince_ >= pace_.letGo) {
        End(TypingOutcome::KeysHeld);
    } else {
        After(pace_.poll, &TypingEngine::TypeNext);
    }
    return true;
}

// After a Tab or Enter, the focus is in another box before its first key.
void TypingEngine::ReadBoxReached() {
    Read(pace_.read, &TypingEngine::OnBoxReached);
}

// While keys are held (the hot key pressed again) its grab takes the
// keyboard from the form, whose box may then not answer as focused: the
// reading waits until they are let go, as the typing does.
bool TypingEngine::WaitForKeys(Step again) {
    if (keyboard_.HeldKeys(hotKey_) == KeysDown::None) {
        return false;
    }
    auto now = timer_.Now();
    pausedSince_ = pausedSince_.value_or(now);
    if (now - *pausedSince_ >= pace_.letGo) {
        End(TypingOutcome::KeysHeld);
    } else {
        arriveBy_ = std::max(arriveBy_, now + pace_.arrive);
        After(pace_.poll, again);
    }
    return true;
}

// The box just left, or none, may answer while the focus moves.
void TypingEngine::OnBoxReached(const FieldText& field) {
    bool moving = !field.readable || field.field == field_;
    if (moving && WaitForKeys(&TypingEngine::ReadBoxReached)) {
        return;
    }
    if (moving && timer_.Now() < arriveBy_) {
        After(pace_.poll, &TypingEngine::ReadBoxReached);
        return;
    }
    if (field.readable && field.field == field_) {
        if (tabChorded_) {
            ResendTab();
            return;
        }
        End(TypingOutcome::NotMoved);
        return;
    }
    if (!field.readable) {
        checking_ = false;
    }
    field_ = field.field;
    before_ = field.text;
    reached_ = true;
    TypeNext();
}

void TypingEngine::ReadBoxTyped() {
    Read(pace_.read, &TypingEngine::OnBoxTyped);
}

// A page may move the focus on by itself once the last box is full: that
// box is read where it is. Before any other box the focus must still be
// there, or the next Tab would skip a box.
void TypingEngine::OnBoxTyped(const FieldText& field) {
    if (field.readable && field.field == field_) {
        CompareBox(field);
        return;
    }
    if (WaitForKeys(&TypingEngine::ReadBoxTyped)) {
        return;
    }
    if (next_ != keys_.size()) {
        End(TypingOutcome::BoxLeft);
        return;
    }
    int asked = ++reads_;
    auto take = lifetime_.Bind([this, asked](const FieldText& box) {
        if (asked != reads_) {
            return;
        }
        ++reads_;
        if (box.readable) {
            CompareBox(box);
        } else {
            checking_ = false;
            typed_ = true;
            TypeNext();
        }
    });
    timer_.After(pace_.read, [take] { take(FieldText{}); });
    keyboard_.ReadField(field_, take);
}

// The box's keys may still be on their way: it is read again until it
// holds them or the wait is over.
void TypingEngine::CompareBox(const FieldText& field) {
    if (!ReadsBackAs(before_, boxes_[box_].text, field.text)) {
        if (WaitForKeys(&TypingEngine::ReadBoxTyped)) {
            return;
        }
        if (timer_.Now() < arriveBy_) {
            After(pace_.poll, &TypingEngine::ReadBoxTyped);
        } else {
            report_.arrived = field.text;
            End(TypingOutcome::Mismatch);
        }
        return;
    }
    typed_ = true;
    TypeNext();
}

// Before a key that repeats the one before it, that one is in the box: a
// program that fell behind and takes a key and its repeat at once may drop
// the second (Firefox behind a Chinese input method does).
void TypingEngine::ReadRepeated() {
    Read(pace_.read, &TypingEngine::OnRepeated);
}

void TypingEngine::OnRepeated(const FieldText& field) {
    const Box& box = boxes_[box_];
    std::string sent;
    for (size_t at = box.begin; at < next_; ++at) {
        sent += keys_[at].character;
    }
    if (field.readable && field.field == field_ && ReadsBackAs(before_, sent, field.text)) {
        repeatSeen_ = true;
        TypeNext();
        return;
    }
    if (WaitForKeys(&TypingEngine::ReadRepeated)) {
        return;
    }
    if (timer_.Now() < arriveBy_) {
        After(pace_.poll, &TypingEngine::ReadRepeated);
    } else if (!field.readable) {
        checking_ = false; // a box that stopped answering goes on unchecked
        TypeNext();
    } else if (field.field == field_) {
        report_.arrived = field.text;
        End(TypingOutcome::Mismatch);
    } else {
        End(TypingOutcome::BoxLeft);
    }
}

void TypingEngine::PressNext() {
    repeatSeen_ = false;
    keyboard_.Press(keys_[next_]);
    report_.keysSent = true;
    After(pace_.hold, &TypingEngine::ReleaseKey);
}

void TypingEngine::ReleaseKey() {
    keyboard_.Release(keys_[next_]);
    bool boxEnds = keys_[next_].kind != Key::Kind::Character;
    // A chord pressed again just as the Tab went may have made it Ctrl+Tab,
    // which moves no focus in most forms.
    tabChorded_ =
        keys_[next_].kind == Key::Kind::Tab && keyboard_.HeldKeys(hotKey_) != KeysDown::None;
    ++next_;
    arriveBy_ = timer_.Now() + pace_.arrive;
    if (boxEnds) {
        ++box_;
        reached_ = false;
        typed_ = false;
    }
    bool again = next_ < keys_.size() && keys_[next_] == keys_[next_ - 1];
    After(again ? std::max(gap_, repeatGap_) : gap_, &TypingEngine::TypeNext);
}

// The Tab went with the user's chord and the focus stayed in the box just
// typed, which was read back: the Tab goes again, once the keys are let go.
void TypingEngine::ResendTab() {
    tabChorded_ = false;
    --next_;
    --box_;
    reached_ = true;
    typed_ = true;
    TypeNext();
}

void TypingEngine::CheckTaken() {
    report_.checked = checking_;
    End(keyboard_.FocusedWindow() == target_ ? TypingOutcome::Typed : TypingOutcome::FocusChanged);
}

void TypingEngine::End(TypingOutcome outcome) {
    report_.outcome = outcome;
    report_.box = box_;
    if (outcome != TypingOutcome::Typed) {
        report_.checked = false;
    }
    if (prepared_) {
        keyboard_.Finish();
    }
    if (report_.keysSent) {
        quietUntil_ = timer_.Now() + pace_.quiet;
    }
    state_ = State::Ending;
    ++reads_; // no answer counts after the end
    if (!turnedOff_) {
        Report(true);
        return;
    }
    keyboard_.TurnInputMethodBackOn(lifetime_.Bind([this](bool restored) { Report(restored); }));
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
    if (keyboard_.HeldKeys(hotKey_) != KeysDown::None) {
        After(pace_.poll, &TypingEngine::DrainHeldKeys);
    } else {
        state_ = State::Idle;
    }
}

} // namespace orvane
