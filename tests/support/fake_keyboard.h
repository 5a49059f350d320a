#pragma once

#include "typing/typing_engine.h"

#include <algorithm>
#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace orvane {

// Time that moves only when the test runs it: the tasks in the order of
// their time, then of their arming.
class FakeTimer : public TypingTimer {
public:
    using Clock = std::chrono::steady_clock;

    Clock::time_point Now() override { return now_; }
    void After(std::chrono::milliseconds delay, std::function<void()> task) override {
        tasks_.emplace(std::pair{now_ + delay, next_++}, std::move(task));
    }
    // Runs what is due within the span, moving the time to each task's.
    void Run(std::chrono::milliseconds span) {
        Clock::time_point end = now_ + span;
        while (!tasks_.empty() && tasks_.begin()->first.first <= end) {
            auto task = tasks_.extract(tasks_.begin());
            now_ = task.key().first;
            task.mapped()();
        }
        now_ = end;
    }
    std::chrono::milliseconds Elapsed() const {
        return std::chrono::duration_cast<std::chrono::milliseconds>(now_ - Clock::time_point());
    }

private:
    Clock::time_point now_;
    std::map<std::pair<Clock::time_point, int>, std::function<void()>> tasks_;
    int next_ = 0;
};

// A keyboard whose user, input method and form the test scripts: keys held
// until a time, a key pressed after so many keys, the hot key pressed again,
// the focus moved, an input method on or stuck, a form of boxes that can be
// read or not, that may drop a key. It notes every key with its time since
// it was made. Its input method and its reading answer after the timer's
// wait, as real ones answer later.
class FakeKeyboard : public Keyboard {
public:
    struct SentKey {
        std::string key; // the character, "\t" for Tab, "\n" for Enter
        std::chrono::milliseconds down;
        std::chrono::milliseconds up;
    };

    explicit FakeKeyboard(TypingTimer& timer) : timer_(&timer), start_(timer.Now()) {}

    std::uintptr_t FocusedWindow() override {
        if (focusMovesAfter >= 0 && int(presses.size()) >= focusMovesAfter) {
            return 99;
        }
        return focus;
    }
    bool IsOwnWindow(std::uintptr_t window) override { return window == ownWindow; }
    KeysDown HeldKeys(const HotKey&) override {
        if (Elapsed() < heldUntil) {
            return KeysDown::HotKeyOnly;
        }
        if (hotKeyAgainAfter >= 0 && int(presses.size()) >= hotKeyAgainAfter) {
            hotKeyAgainAfter = -1;
            HoldFor(hotKeyAgainFor);
            return KeysDown::HotKeyOnly;
        }
        return strayAfter >= 0 && int(presses.size()) >= strayAfter ? KeysDown::Others
                                                                    : KeysDown::None;
    }
    std::optional<KeysReady> Prepare(const std::vector<Key>& keys) override {
        ++prepared;
        if (!settle) {
            return std::nullopt;
        }
        return KeysReady{std::min(keys.size(), readyAtOnce), *settle};
    }
    void Press(const Key& key) override {
        std::string name = key.kind == Key::Kind::Tab     ? "\t"
                           : key.kind == Key::Kind::Enter ? "\n"
                                                          : key.character;
        bool chorded = int(presses.size()) == hotKeyDuringKey;
        if (chorded) { // the hand's Ctrl down just before this key: Ctrl+Tab moves nothing
            HoldFor(hotKeyAgainFor);
        }
        if (key.kind == Key::Kind::Tab && tabMoves && !chorded) {
            box = std::min(box + 1, form.size() - 1);
            movedAt = Elapsed();
        } else if (key.kind == Key::Kind::Character && int(presses.size()) != dropKey) {
            Arrive(key.character);
        }
        presses.push_back({name, Elapsed(), {}});
        if (int(presses.size()) == pageMovesAfter) {
            box = form.size() - 1;
        }
    }
    void Release(const Key&) override { presses.back().up = Elapsed(); }
    void Finish() override { ++finished; }
    void TurnInputMethodOff(std::function<void(InputMethodFound)> done) override {
        timer_->After(std::chrono::milliseconds(2), [this, done] {
            InputMethodSwitch found = inputMethodStuck ? InputMethodSwitch::Failed
                                      : inputMethodOn  ? InputMethodSwitch::SwitchedOff
                                                       : InputMethodSwitch::Direct;
            inputMethodOn = inputMethodOn && inputMethodStuck;
            offAt = Elapsed();
            done({found, inputMethodInPath});
        });
    }
    void TurnInputMethodBackOn(std::function<void(bool)> done) override {
        timer_->After(std::chrono::milliseconds(2), [this, done] {
            inputMethodOn = !cannotTurnBackOn;
            ++turnedBackOn;
            done(inputMethodOn);
        });
    }
    void ReadFocusedField(std::function<void(FieldText)> done) override {
        if (++reads == hotKeyAgainAtRead) {
            HoldFor(hotKeyAgainFor);
        }
        timer_->After(readTakes, [this, done] {
            bool moving =
                Elapsed() < movedAt + focusSettles || (grabHidesBoxes && Elapsed() < heldUntil);
            done(readable && !moving ? FieldText{true, "box" + std::to_string(box), form[box]}
                                     : FieldText{});
        });
    }

    void ReadField(const std::string& field, std::function<void(FieldText)> done) override {
        ++reads;
        timer_->After(readTakes, [this, field, done] {
            size_t which = std::stoul(field.substr(3));
            done(readable ? FieldText{true, field, form[which]} : FieldText{});
        });
    }

    // The user holds keys down from now for the span.
    void HoldFor(std::chrono::milliseconds span) { heldUntil = Elapsed() + span; }

    std::string Typed() const {
        std::string typed;
        for (const SentKey& press : presses) {
            typed += press.key;
        }
        return typed;
    }

    // The script.
    std::uintptr_t focus = 7;
    std::uintptr_t ownWindow = 1;
    std::chrono::milliseconds heldUntil{0}; // the hot key's keys, since this keyboard was made
    int strayAfter = -1;                    // a key of the user's down after so many keys
    int hotKeyAgainAfter = -1;              // the hot key pressed again after so many keys
    int hotKeyAgainAtRead = -1;             // or as the box is read for the so-manieth time
    int hotKeyDuringKey = -1;    // or just as that key goes, which its Ctrl turns into another
    bool grabHidesBoxes = false; // the hot key held takes the keyboard: no box answers
    std::chrono::milliseconds hotKeyAgainFor{200};
    int focusMovesAfter = -1; // the focus elsewhere after so many keys
    std::optional<int> settle = 0;
    size_t readyAtOnce = 1000; // keys ready at each Prepare
    bool inputMethodOn = false;
    bool inputMethodStuck = false;
    bool inputMethodInPath = false;
    bool cannotTurnBackOn = false;
    // The form: its boxes, the focused one; what Tab does; a key it loses.
    std::vector<std::string> form = {"", "", "", ""};
    size_t box = 0;
    bool tabMoves = true;
    int dropKey = -1; // the index of the key that never arrives
    // Each character arrives so long after its key; a key pressed again
    // before it arrived is lost, as a program that fell behind loses it.
    std::chrono::milliseconds behind{0};
    int pageMovesAfter = -1; // the page moves the focus to its last box after so many keys
    std::chrono::milliseconds focusSettles{0}; // after a Tab, no box answers for so long
    bool readable = true;
    std::chrono::milliseconds readTakes{1};

    // What happened.
    std::vector<SentKey> presses;
    int prepared = 0;
    int finished = 0;
    int turnedBackOn = 0;
    int reads = 0;
    std::chrono::milliseconds offAt{-1};
    std::chrono::milliseconds movedAt{-1000};

private:
    void Arrive(const std::string& character) {
        if (behind.count() == 0) {
            form[box] += character;
            return;
        }
        if (character == pending_ && Elapsed() < pendingUntil_) {
            return; // taken for the key before, still on its way
        }
        pending_ = character;
        pendingUntil_ = Elapsed() + behind;
        timer_->After(behind, [this, at = box, character] { form[at] += character; });
    }
    std::chrono::milliseconds Elapsed() const {
        return std::chrono::duration_cast<std::chrono::milliseconds>(timer_->Now() - start_);
    }

    TypingTimer* timer_; // a pointer: a test may script a new keyboard in place
    std::chrono::steady_clock::time_point start_;
    std::string pending_;
    std::chrono::milliseconds pendingUntil_{0};
};

} // namespace orvane
