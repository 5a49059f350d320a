#pragma once

#include "typing/typing_engine.h"

#include <chrono>
#include <map>
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

// A keyboard whose user and input method the test scripts: keys held until
// a time, a key pressed after so many keys, the focus moved, an input
// method on or stuck. It notes every key with its time since it was made.
// Its input method answers after the timer's wait, as a real one answers
// later.
class FakeKeyboard : public Keyboard {
public:
    struct Stroke {
        std::string key; // the character, "\t" for Tab, "\n" for Enter
        std::chrono::milliseconds down;
        std::chrono::milliseconds up;
    };

    explicit FakeKeyboard(TypingTimer& timer) : timer_(&timer), start_(timer.Now()) {}

    std::uintptr_t FocusedWindow() override {
        if (focusMovesAfter >= 0 && int(strokes.size()) >= focusMovesAfter) {
            return 99;
        }
        return focus;
    }
    bool IsOwnWindow(std::uintptr_t window) override { return window == ownWindow; }
    bool AnyKeyDown() override {
        return Elapsed() < heldUntil || (strayAfter >= 0 && int(strokes.size()) >= strayAfter);
    }
    std::optional<int> Prepare(const std::vector<Key>&) override {
        ++prepared;
        return settle;
    }
    void Press(const Key& key) override {
        std::string name = key.kind == Key::Kind::Tab     ? "\t"
                           : key.kind == Key::Kind::Enter ? "\n"
                                                          : key.character;
        strokes.push_back({name, Elapsed(), {}});
    }
    void Release(const Key&) override { strokes.back().up = Elapsed(); }
    void Finish() override { ++finished; }
    void TurnInputMethodOff(std::function<void(InputMethodSwitch)> done) override {
        timer_->After(std::chrono::milliseconds(2), [this, done] {
            InputMethodSwitch found = inputMethodStuck ? InputMethodSwitch::Failed
                                      : inputMethodOn  ? InputMethodSwitch::SwitchedOff
                                                       : InputMethodSwitch::Direct;
            inputMethodOn = inputMethodOn && inputMethodStuck;
            offAt = Elapsed();
            done(found);
        });
    }
    void TurnInputMethodBackOn(std::function<void(bool)> done) override {
        timer_->After(std::chrono::milliseconds(2), [this, done] {
            inputMethodOn = !cannotTurnBackOn;
            ++turnedBackOn;
            done(inputMethodOn);
        });
    }

    // The user holds keys down from now for the span.
    void HoldFor(std::chrono::milliseconds span) { heldUntil = Elapsed() + span; }

    std::string Typed() const {
        std::string typed;
        for (const Stroke& stroke : strokes) {
            typed += stroke.key;
        }
        return typed;
    }

    // The script.
    std::uintptr_t focus = 7;
    std::uintptr_t ownWindow = 1;
    std::chrono::milliseconds heldUntil{0}; // since this keyboard was made
    int strayAfter = -1;                    // a key of the user's down after so many keys
    int focusMovesAfter = -1;               // the focus elsewhere after so many keys
    std::optional<int> settle = 0;
    bool inputMethodOn = false;
    bool inputMethodStuck = false;
    bool cannotTurnBackOn = false;

    // What happened.
    std::vector<Stroke> strokes;
    int prepared = 0;
    int finished = 0;
    int turnedBackOn = 0;
    std::chrono::milliseconds offAt{-1};

private:
    std::chrono::milliseconds Elapsed() const {
        return std::chrono::duration_cast<std::chrono::milliseconds>(timer_->Now() - start_);
    }

    TypingTimer* timer_; // a pointer: a test may script a new keyboard in place
    std::chrono::steady_clock::time_point start_;
};

} // namespace orvane
