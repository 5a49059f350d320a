// The typing engine over a keyboard and form the test scripts: when typing
// starts, what stops it and what only holds it, its pace, the input method,
// which presses it takes, and each box read back before it counts.
#include "fake_keyboard.h"
#include "text/ansi_literals.h"
#include "typing/typing_engine.h"

#include <gtest/gtest.h>
#include <optional>

namespace orvane {

namespace {

using std::chrono::milliseconds;

const std::string kApplicant = "欧阳吉祥\t11010519491231002X\t13912345678";
const HotKey kHotKey{.ctrl = true, .alt = true, .key = 'V'};

std::vector<Key> KeysOfText(const std::string& text) {
    std::vector<SequenceStep> steps;
    for (char c : text) {
        if (c == '\t') {
            steps.push_back({SequenceStep::Kind::Tab, {}});
        } else if (steps.empty() || steps.back().kind != SequenceStep::Kind::Text) {
            steps.push_back({SequenceStep::Kind::Text, std::string(1, c)});
        } else {
            steps.back().text += c;
        }
    }
    return KeysOf(steps);
}

class Engine : public testing::Test {
protected:
    // A press as a hand makes it: the keys down for `hold`, then let go.
    bool Press(milliseconds hold = milliseconds(120), const std::string& text = kApplicant) {
        keyboard.HoldFor(hold);
        return engine.Press(KeysOfText(text), kHotKey,
                            [this](const TypingReport& done) { report = done; });
    }
    // A new keyboard and form, once the last press has ended and the quiet
    // time after it is over.
    void NewKeyboard() {
        timer.Run(milliseconds(5000));
        keyboard = FakeKeyboard(timer);
        report.reset();
    }

    FakeTimer timer;
    FakeKeyboard keyboard{timer};
    TypingEngine engine{keyboard, timer};
    std::optional<TypingReport> report;
};

TEST_F(Engine, TypesOnceTheKeysAreLetGoEveryKeyAtAPaceProgramsKeep) {
    ASSERT_TRUE(Press(milliseconds(150)));
    timer.Run(milliseconds(149));
    EXPECT_TRUE(keyboard.presses.empty()) << "nothing while the keys are down";
    timer.Run(milliseconds(2000));
    ASSERT_TRUE(report);
    EXPECT_EQ(report->outcome, TypingOutcome::Typed);
    EXPECT_EQ(keyboard.Typed(), kApplicant);
    EXPECT_LT(keyboard.presses.back().up - milliseconds(150), milliseconds(300))
        << "one applicant within 300 ms of the release";
    for (size_t i = 1; i < keyboard.presses.size(); ++i) {
        const auto& [key, down, up] = keyboard.presses[i];
        const auto& before = keyboard.presses[i - 1];
        EXPECT_GT(up, down) << "held before it is let go: " << i;
        EXPECT_GE(down - before.up, key == before.key ? milliseconds(10) : milliseconds(3))
            << "the same key again waits longer: " << i;
    }
    EXPECT_EQ(keyboard.finished, 1);
}

// Keys that pass through an input method's module come no faster than it
// passes them on.
TEST_F(Engine, AnInputMethodInThePathSlowsTheKeys) {
    keyboard.inputMethodInPath = true;
    ASSERT_TRUE(Press());
    timer.Run(milliseconds(3000));
    ASSERT_TRUE(report);
    EXPECT_EQ(report->outcome, TypingOutcome::Typed);
    for (size_t i = 1; i < keyboard.presses.size(); ++i) {
        EXPECT_GE(keyboard.presses[i].down - keyboard.presses[i - 1].up, milliseconds(12)) << i;
    }
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
    EXPECT_TRUE(keyboard.presses.empty());
    EXPECT_TRUE(Press()) << "let go, the key counts again";
}

// A nervous second press is the user's own chord: typing waits until it is
// let go and goes on; it types nothing itself, nor does a press just after.
TEST_F(Engine, TheHotKeyPressedAgainHoldsTheTypingUntilLetGo) {
    keyboard.hotKeyAgainAfter = 10;
    keyboard.hotKeyAgainFor = milliseconds(200);
    ASSERT_TRUE(Press());
    timer.Run(milliseconds(200));
    EXPECT_TRUE(engine.Typing());
    EXPECT_FALSE(engine.Press(KeysOfText("x"), kHotKey, [](const TypingReport&) {}))
        << "not a press of its own";
    while (!report && timer.Elapsed() < milliseconds(5000)) {
        timer.Run(milliseconds(1));
    }
    ASSERT_TRUE(report);
    EXPECT_EQ(report->outcome, TypingOutcome::Typed);
    EXPECT_TRUE(report->checked);
    EXPECT_EQ(keyboard.Typed(), kApplicant);
    EXPECT_GE(keyboard.presses[10].down - keyboard.presses[9].up, milliseconds(200))
        << "no key while the chord was down";

    report.reset();
    timer.Run(milliseconds(600));
    EXPECT_TRUE(engine.Quiet());
    EXPECT_FALSE(Press(milliseconds(60))) << "within 0.7 s of the end";
    timer.Run(milliseconds(200));
    EXPECT_FALSE(report);
    EXPECT_FALSE(engine.Quiet());

    // Pressed as a box is read back, when its grab keeps the box from
    // answering: the reading waits too.
    NewKeyboard();
    keyboard.grabHidesBoxes = true;
    keyboard.hotKeyAgainAtRead = 5; // the ID's box, after its last key
    ASSERT_TRUE(Press());
    timer.Run(milliseconds(3000));
    ASSERT_TRUE(report);
    EXPECT_EQ(report->outcome, TypingOutcome::Typed);
    EXPECT_TRUE(report->checked);
    EXPECT_EQ(keyboard.Typed(), kApplicant);

    // Pressed just as the Tab after the name goes, which its Ctrl turns into
    // Ctrl+Tab: the focus stays, and the Tab goes again once it is let go.
    NewKeyboard();
    keyboard.hotKeyDuringKey = 4;
    ASSERT_TRUE(Press());
    timer.Run(milliseconds(3000));
    ASSERT_TRUE(report);
    EXPECT_EQ(report->outcome, TypingOutcome::Typed);
    EXPECT_EQ(keyboard.form[1], "11010519491231002X");
    EXPECT_EQ(keyboard.Typed(), "欧阳吉祥\t" + kApplicant.substr(std::string("欧阳吉祥").size()));
}

TEST_F(Engine, AKeyOfTheUsersOrAMovedFocusStopsIt) {
    keyboard.strayAfter = 5;
    ASSERT_TRUE(Press());
    timer.Run(milliseconds(2000));
    ASSERT_TRUE(report);
    EXPECT_EQ(report->outcome, TypingOutcome::KeyPressed);
    EXPECT_TRUE(report->keysSent);
    EXPECT_EQ(keyboard.presses.size(), 5u);

    NewKeyboard();
    keyboard.focusMovesAfter = 10;
    ASSERT_TRUE(Press());
    timer.Run(milliseconds(2000));
    EXPECT_EQ(report->outcome, TypingOutcome::FocusChanged);
    EXPECT_EQ(keyboard.presses.size(), 10u);

    // Every key sent, but the focus left before the form could take them.
    NewKeyboard();
    keyboard.readable = false;
    keyboard.focusMovesAfter = int(KeysOfText(kApplicant).size());
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
    EXPECT_TRUE(keyboard.presses.empty());
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
    EXPECT_LE(keyboard.offAt, keyboard.presses.front().down);
    EXPECT_TRUE(keyboard.inputMethodOn);
    EXPECT_EQ(keyboard.turnedBackOn, 1);

    NewKeyboard();
    keyboard.inputMethodOn = true;
    keyboard.cannotTurnBackOn = true;
    ASSERT_TRUE(Press());
    timer.Run(milliseconds(2000));
    EXPECT_EQ(report->outcome, TypingOutcome::Typed);
    EXPECT_FALSE(report->inputMethodRestored);

    NewKeyboard();
    keyboard.inputMethodOn = true;
    keyboard.inputMethodStuck = true;
    ASSERT_TRUE(Press());
    timer.Run(milliseconds(2000));
    EXPECT_EQ(report->outcome, TypingOutcome::InputMethod);
    EXPECT_TRUE(keyboard.presses.empty());
    EXPECT_EQ(keyboard.turnedBackOn, 0) << "what was not turned off is not turned on";
}

// A key map changed for the press is in force before the first key, even
// when the keys are let go at once; a group with more characters than the
// keyboard can hold at once is typed in rounds.
TEST_F(Engine, TheKeysWaitForTheKeyboardToBeReadyRoundByRound) {
    keyboard.settle = 60;
    ASSERT_TRUE(Press(milliseconds(10)));
    timer.Run(milliseconds(2000));
    ASSERT_FALSE(keyboard.presses.empty());
    EXPECT_GE(keyboard.presses.front().down, milliseconds(60));
    EXPECT_EQ(keyboard.prepared, 2) << "again once the input method was switched";

    NewKeyboard();
    keyboard.readyAtOnce = 8;
    keyboard.settle = 60;
    ASSERT_TRUE(Press());
    timer.Run(milliseconds(5000));
    ASSERT_TRUE(report);
    EXPECT_EQ(report->outcome, TypingOutcome::Typed);
    EXPECT_EQ(keyboard.Typed(), kApplicant);
    EXPECT_EQ(keyboard.prepared, 2 + 4) << "33 keys, 8 at a time";
    EXPECT_GE(keyboard.presses[8].down - keyboard.presses[7].up, milliseconds(60));
}

// Each box is read before its first key and after its last: the group counts
// as typed only when every box holds what was typed.
TEST_F(Engine, EveryBoxIsReadBackBeforeTheGroupCounts) {
    keyboard.form[2] = "+86"; // the page's own prefix in the phone box
    ASSERT_TRUE(Press());
    timer.Run(milliseconds(2000));
    ASSERT_TRUE(report);
    EXPECT_EQ(report->outcome, TypingOutcome::Typed);
    EXPECT_TRUE(report->checked);
    EXPECT_EQ(keyboard.form[0], "欧阳吉祥");
    EXPECT_EQ(keyboard.form[2], "+8613912345678");
    EXPECT_EQ(keyboard.reads, 1 + 3 + 2 + 2)
        << "the first box before, each box after, two reached, the ID's two repeated keys";

    // A box that loses a key stops the typing at the next repeated key, or
    // before the next Tab.
    NewKeyboard();
    keyboard.dropKey = 11; // a "1" of the ID
    ASSERT_TRUE(Press());
    timer.Run(milliseconds(2000));
    ASSERT_TRUE(report);
    EXPECT_EQ(report->outcome, TypingOutcome::Mismatch);
    EXPECT_FALSE(report->checked);
    EXPECT_EQ(report->box, 1u);
    EXPECT_EQ(report->arrived, "11010594912310");
    EXPECT_EQ(keyboard.Typed(), "欧阳吉祥\t110105194912310") << "nothing after the \"00\"'s first";
    NewKeyboard();
    keyboard.dropKey = 21; // the ID's "2", after its last repeat
    ASSERT_TRUE(Press());
    timer.Run(milliseconds(2000));
    ASSERT_TRUE(report);
    EXPECT_EQ(report->outcome, TypingOutcome::Mismatch);
    EXPECT_EQ(report->arrived, "1101051949123100X");
    EXPECT_EQ(keyboard.Typed(), "欧阳吉祥\t11010519491231002X") << "nothing after that box";
}

// A form that falls behind takes each key late and would lose a repeat
// pressed before the key before it arrived: the repeat waits for it.
TEST_F(Engine, ARepeatedKeyWaitsForTheOneBeforeToArrive) {
    keyboard.behind = milliseconds(40);
    ASSERT_TRUE(Press());
    timer.Run(milliseconds(5000));
    ASSERT_TRUE(report);
    EXPECT_EQ(report->outcome, TypingOutcome::Typed);
    EXPECT_TRUE(report->checked);
    EXPECT_EQ(keyboard.form[1], "11010519491231002X");
}

// While the focus moves no box may answer; a page may move the focus on by
// itself once the last box is full: neither leaves the group unchecked.
TEST_F(Engine, AFocusOnItsWayOrMovedOnByThePageIsNoFailure) {
    keyboard.focusSettles = milliseconds(20);
    keyboard.pageMovesAfter = int(KeysOfText(kApplicant).size());
    ASSERT_TRUE(Press());
    timer.Run(milliseconds(2000));
    ASSERT_TRUE(report);
    EXPECT_EQ(report->outcome, TypingOutcome::Typed);
    EXPECT_TRUE(report->checked);

    // Moved on before the last box: the next Tab would skip a box.
    NewKeyboard();
    keyboard.pageMovesAfter = 10;
    ASSERT_TRUE(Press());
    timer.Run(milliseconds(2000));
    EXPECT_EQ(report->outcome, TypingOutcome::BoxLeft);
    EXPECT_EQ(report->box, 1u);
    EXPECT_EQ(keyboard.Typed(), "欧阳吉祥\t110105194912310") << "up to the next repeated key";
}

TEST_F(Engine, ABoxThatHoldsTextOrATabThatStaysStopsIt) {
    keyboard.form[0] = "zhang"; // a composition the input method shows in the box
    keyboard.inputMethodOn = true;
    ASSERT_TRUE(Press());
    timer.Run(milliseconds(2000));
    ASSERT_TRUE(report);
    EXPECT_EQ(report->outcome, TypingOutcome::BoxNotEmpty);
    EXPECT_TRUE(keyboard.presses.empty());
    EXPECT_EQ(keyboard.offAt, milliseconds(-1)) << "the input method was never switched";
    EXPECT_TRUE(Press()) << "no quiet time";

    NewKeyboard();
    keyboard.tabMoves = false;
    ASSERT_TRUE(Press());
    timer.Run(milliseconds(2000));
    EXPECT_EQ(report->outcome, TypingOutcome::NotMoved);
    EXPECT_EQ(keyboard.Typed(), "欧阳吉祥\t");
}

// Where nothing can be read, the group is typed as before and said to be
// unchecked; reading costs the first key at most a second (where a reader
// never answers) and one applicant at most 150 ms.
TEST_F(Engine, ReadingIsBoundedAndAnUnreadableBoxIsUnchecked) {
    keyboard.readable = false;
    ASSERT_TRUE(Press());
    timer.Run(milliseconds(2000));
    ASSERT_TRUE(report);
    EXPECT_EQ(report->outcome, TypingOutcome::Typed);
    EXPECT_FALSE(report->checked);
    EXPECT_EQ(keyboard.Typed(), kApplicant);
    milliseconds unread = keyboard.presses.back().up;

    NewKeyboard();
    keyboard.readTakes = milliseconds(100'000); // a reader that never answers
    ASSERT_TRUE(Press());
    timer.Run(milliseconds(20'000));
    EXPECT_EQ(report->outcome, TypingOutcome::Typed);
    EXPECT_FALSE(report->checked);
    EXPECT_LE(keyboard.presses.front().down, milliseconds(120 + 1000 + 5));

    // A busy machine's reader answers 300 ms late, at the press or (where
    // the box did not answer as focused then) after the release: the box
    // holds a name begun by hand, and nothing goes after it.
    for (bool answeredAtPress : {true, false}) {
        NewKeyboard();
        keyboard.readTakes = milliseconds(300);
        keyboard.grabHidesBoxes = !answeredAtPress;
        keyboard.form[0] = "zhang";
        ASSERT_TRUE(Press(milliseconds(answeredAtPress ? 120 : 400)));
        timer.Run(milliseconds(2000));
        EXPECT_EQ(report->outcome, TypingOutcome::BoxNotEmpty) << answeredAtPress;
        EXPECT_TRUE(keyboard.presses.empty()) << answeredAtPress;
    }

    NewKeyboard();
    keyboard.readTakes = milliseconds(3);
    ASSERT_TRUE(Press());
    timer.Run(milliseconds(2000));
    EXPECT_TRUE(report->checked);
    EXPECT_LE(keyboard.presses.back().up, unread + milliseconds(150));
}

} // namespace

} // namespace orvane
