#include "beijing_time.h"

#include "runtime/ansi_literals.h"
#include "runtime/datetime.h"

namespace orvane {

const std::string kBeijingTimePrefix = "     当前北京时间为：";

std::string BeijingTimeTextAt(std::chrono::sys_seconds gmt) {
    return kBeijingTimePrefix + DateTimeText(gmt + kBeijingOffset);
}

} // namespace orvane
