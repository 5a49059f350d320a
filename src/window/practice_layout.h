#pragma once

#include "layout.h"
#include "rehearsal/practice_messages.h"
#include "runtime/result.h"

#include <cstddef>
#include <string>
#include <vector>

namespace orvane {

// The practice form a rehearsal types into: one box per box of the bank's
// form that the typing sequence fills, in the same order, and 提交 for its
// Enter. Its title says it is not the bank's page.

// A box of the form: the fields it takes, as the user calls them, and the
// most it takes, in ANSI bytes as the layout's input limits count (0: as
// much as a report carries).
struct PracticeBox {
    std::string name;
    size_t limit = 0;
};

// The command line's switch, "--practice", then a word per box: its name,
// or "name:limit".
extern const std::string kPracticeSwitch;
std::vector<std::string> PracticeWords(const std::vector<PracticeBox>& boxes);
// The boxes of the words after the switch: 1 to kPracticeBoxLimit.
Result<std::vector<PracticeBox>> ReadPracticeBoxes(std::vector<std::string>::const_iterator from,
                                                   std::vector<std::string>::const_iterator to);

std::string PracticeBoxName(size_t box); // 演练框1, from 0
extern const std::string kPracticeSubmit;
extern const std::string kPracticeStatusBar;
// The status bar's panel that says what the form waits for, and how the
// last press arrived.
inline constexpr int kPracticePanel = 0;

// The form for the boxes, the first kPracticeBoxLimit of them. The window
// built from it keeps a reference: it lives as long as the window.
struct PracticeForm {
    WindowFrame frame;
    std::vector<ComponentRow> layout;

    WindowDescription Description() const { return {frame, layout}; }
};

PracticeForm PracticeFormFor(const std::vector<PracticeBox>& boxes);

} // namespace orvane
