#include "beijing_time.h"

#include "datetime/datetime.h"
#include "text/ansi_literals.h"

namespace orvane {

const std::string kBeijingTimePrefix = "     当前北京时间为：";

std::string BeijingTimeTextAt(std::chrono::sys_seconds gmt) {
    return kBeijingTimePrefix + BeijingText(gmt);
}

} // namespace orvane
