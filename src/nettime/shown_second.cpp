#include "shown_second.h"

namespace orvane {

std::int64_t ShownSecond::Next(std::int64_t estimated, int restarts) {
    bool restart = restarts != restarts_;
    restarted_ = restart || (restarted_ && estimated <= shown_);
    if (!any_ || restart || estimated > shown_ || estimated < shown_ - 1) {
        shown_ = estimated;
    }
    any_ = true;
    restarts_ = restarts;
    return shown_;
}

} // namespace orvane
