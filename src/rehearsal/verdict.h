#pragma once

#include "press_check.h"

#include <chrono>
#include <string>
#include <vector>

namespace orvane {

// The day's one line after a rehearsal, for the status bar and the failure
// log: whether the hot key can be trusted on this machine ("演练通过：5 组
// 全部正确，平均 0.3 秒") or what to change, then `clock` (how exact the
// clock is, which server). Counts and causes only: never an applicant's
// data, so that the log can be sent to whoever helps.
std::string RehearsalVerdict(const std::vector<PressCheck>& presses, const std::string& clock);

} // namespace orvane
