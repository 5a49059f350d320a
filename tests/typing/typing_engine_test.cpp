// The typing engine over a keyboard the test scripts: when typing starts,
// what stops it, its pace, the input method, and which presses it takes.
#include "fake_keyboard.h"
#include "text/ansi_literals.h"
#include "typing/typing_engine.h"

#include <gtest/gtest.h>
#include <optional>

namespace orvane {

namespace {

using std::chrono::milliseconds;

const std::string kApplicant = "欧阳吉祥\t11010519491231002X\t13912345678";

std::vector<Key> KeysOfText(const std::string& text) {
    std::vector<Stroke> strokes;
    for (char c : text) {
        if (c == '\t') {
            strokes.push_back({Stroke::Kind::Tab, {}});
        } else if (strokes.empty() || strokes.back().kind != Stroke::Kind::Text) {
            strokes.push_back({Stroke::Kind::Text, std::string(1, c)});
        } else {
            strokes.back().text += c;
        }
    }
    return KeysOf(strokes);
}

class Engine : public testing::Test {
protected:
    // A press as a hand makes it: the keys down for `hold`, then let go.
    bool Press(milliseconds hold = milliseconds(120), const std::string& text = kApplicant) {
        keyboard.HoldFor(hold);
        return engine.Press(KeysOfText(text), [this](TypingReport done) { report = done; });
    }

    FakeTimer timer;
    FakeKeyboard keyboard{timer};
    TypingEngine engine{keyboard, timer};
    std::optional<TypingReport> report;
};

TEST_F(Engine, TypesOnceTheKeysAreLetGoEveryKeyAtAPaceProgramsKeep) {
    ASSERT_TRUE(Press(milliseconds(150)));
    timer.Run(milliseconds(149));
    EXPECT_TRUE(keyboard.strokes.empty()) << "nothing while the keys are down";
    timer.Run(milliseconds(2000));
    ASSERT_TRUE(report);
    EXPECT_EQ(report->outcome, TypingOutcome::Typed);
    EXPECT_EQ(keyboard.Typed(), kApplicant);
    EXPECT_LT(keyboard.strokes.back().up - milliseconds(150), milliseconds(300))
        << "one applicant within 300 ms of the release";
    for (size_t i = 1; i < keyboard.strokes.size(); ++i) {
        const auto& [key, down, up] = keyboard.strokes[i];
        const auto& before = keyboard.strokes[i - 1];
        EXPECT_GT(up, down) << "held before it is let go: " << i;
        EXPECT_GE(down - before.up, key == before.key ? milliseconds(10) : milliseconds(3))
            << "the same key again waits longer: " << i;
    }
    EXPECT_EQ(keyboard.finished, 1);
}

TEST_F(Engine, KeysNotLetGoTypeNothingAndTheHeldKeyTakesNoFurtherPress) {
    ASSERT_TRUE(Press(milliseconds(5000)));
    timer.Run(milliseconds(3100));
    ASSERT_TRUE(report);
    EXPECT_EQ(report->outcome, TypingOutcome::KeysHeld);
    EXPECT_FALSE(report->keysSent);
    EXPECT_EQ(keyboard.finished, 1);
    EXPECT_FALSE(Press(milliseconds(1900))) << "a repeat of the key still held";
    timer.Run(milliseconds(2000));
    EXPECT_TRUE(keyboard.strokes.empty());
    EXPECT_TRUE(Press()) << "let go, the key counts again";
}

// The hot key pressed again while typing is a key of the user's: it stops
// the typing, and types nothing itself.
TEST_F(Engine, APressWhileTypingOrJustAfterIsNotTaken) {
    ASSERT_TRUE(Press());
    timer.Run(milliseconds(200));
    size_t typed = keyboard.strokes.size();
    EXPECT_FALSE(Press(milliseconds(60)));
    timer.Run(milliseconds(100));
    ASSERT_TRUE(report);
    EXPECT_EQ(report->outcome, TypingOutcome::KeyPressed);
    EXPECT_EQ(keyboard.strokes.size(), typed);
    report.reset();
    timer.Run(milliseconds(400));
    EXPECT_FALSE(Press(milliseconds(60))) << "within 0.7 s of the end";
    timer.Run(milliseconds(400));
    EXPECT_FALSE(report);
    ASSERT_TRUE(Press(milliseconds(60)));
    timer.Run(milliseconds(2000));
    ASSERT_TRUE(report);
    EXPECT_EQ(report->outcome, TypingOutcome::Typed);
}

TEST_F(Engine, AKeyOfTheUsersOrAMovedFocusStopsIt) {
    keyboard.strayAfter = 5;
    ASSERT_TRUE(Press());
    timer.Run(milliseconds(2000));
    ASSERT_TRUE(report);
    EXPECT_EQ(report->outcome, TypingOutcome::KeyPressed);
    EXPECT_TRUE(report->keysSent);
    EXPECT_EQ(keyboard.strokes.size(), 5u);

    keyboard = FakeKeyboard(timer);
    keyboard.focusMovesAfter = 10;
    timer.Run(milliseconds(1000));
    ASSERT_TRUE(Press());
    timer.Run(milliseconds(2000));
    EXPECT_EQ(report->outcome, TypingOutcome::FocusChanged);
    EXPECT_EQ(keyboard.strokes.size(), 10u);

    // Every key sent, but the focus left before the form could take them.
    keyboard = FakeKeyboard(timer);
    keyboard.focusMovesAfter = int(KeysOfText(kApplicant).size());
    timer.Run(milliseconds(1000));
    ASSERT_TRUE(Press());
    timer.Run(milliseconds(2000));
    EXPECT_EQ(report->outcome, TypingOutcome::FocusChanged);
    EXPECT_EQ(keyboard.Typed(), kApplicant);
}

TEST_F(Engine, NothingIsTypedIntoThisProgramOrWhereNoWindowHasTheFocus) {
    keyboard.focus = keyboard.ownWindow;
    ASSERT_TRUE(Press());
    ASSERT_TRUE(report);
    EXPECT_EQ(report->outcome, TypingOutcome::OwnWindow);
    keyboard.focus = 0;
    ASSERT_TRUE(Press());
    EXPECT_EQ(report->outcome, TypingOutcome::NoFocus);
    keyboard.focus = 7;
    keyboard.settle = std::nullopt;
    ASSERT_TRUE(Press());
    timer.Run(milliseconds(2000));
    EXPECT_EQ(report->outcome, TypingOutcome::CannotType);
    EXPECT_TRUE(keyboard.strokes.empty());
    EXPECT_TRUE(Press()) << "presses that typed nothing leave no quiet time";
}

TEST_F(Engine, TheInputMethodIsOffWhileTypingAndOnAgainAfter) {
    keyboard.inputMethodOn = true;
    ASSERT_TRUE(Press());
    timer.Run(milliseconds(2000));
    ASSERT_TRUE(report);
    EXPECT_EQ(report->outcome, TypingOutcome::Typed);
    EXPECT_TRUE(report->inputMethodRestored);
    EXPECT_GE(keyboard.offAt, milliseconds(120)) << "switched once the keys were let go";
    EXPECT_LE(keyboard.offAt, keyboard.strokes.front().down);
    EXPECT_TRUE(keyboard.inputMethodOn);
    EXPECT_EQ(keyboard.turnedBackOn, 1);

    timer.Run(milliseconds(1000));
    keyboard.cannotTurnBackOn = true;
    ASSERT_TRUE(Press());
    timer.Run(milliseconds(2000));
    EXPECT_EQ(report->outcome, TypingOutcome::Typed);
    EXPECT_FALSE(report->inputMethodRestored);

    keyboard = FakeKeyboard(timer);
    keyboard.inputMethodOn = true;
    keyboard.inputMethodStuck = true;
    timer.Run(milliseconds(1000));
    ASSERT_TRUE(Press());
    timer.Run(milliseconds(2000));
    EXPECT_EQ(report->outcome, TypingOutcome::InputMethod);
    EXPECT_TRUE(keyboard.strokes.empty());
    EXPECT_EQ(keyboard.turnedBackOn, 0) << "what was not turned off is not turned on";
}

// A key map changed for the press is in force before the first key, even
// when the keys are let go at once.
TEST_F(Engine, TheFirstKeyWaitsForTheKeyboardToBeReady) {
    keyboard.settle = 60;
    ASSERT_TRUE(Press(milliseconds(10)));
    timer.Run(milliseconds(2000));
    ASSERT_FALSE(keyboard.strokes.empty());
    EXPECT_GE(keyboard.strokes.front().down, milliseconds(60));
    EXPECT_EQ(keyboard.prepared, 2) << "again once the input method was switched";
}

} // namespace

} // namespace orvane
