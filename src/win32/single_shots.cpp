#include "single_shots.h"

#include "window/fatal_error.h"

#include <algorithm>

namespace orvane {

namespace {

void CALLBACK Post(PVOID parameter, BOOLEAN) {
    const auto* target = static_cast<const SingleShots::Target*>(parameter);
    PostMessageW(target->window, SingleShots::kMessage, target->id, 0);
}

} // namespace

SingleShots::~SingleShots() {
    for (auto& [id, shot] : shots_) {
        Delete(shot);
    }
}

void SingleShots::Delete(Shot& shot) {
    DeleteTimerQueueTimer(nullptr, shot.timer, INVALID_HANDLE_VALUE);
}

void SingleShots::Add(int milliseconds, std::function<void()> task) {
    WPARAM id = next_++;
    Shot shot{std::move(task), nullptr, std::make_unique<Target>(Target{window_, id})};
    if (CreateTimerQueueTimer(&shot.timer, nullptr, Post, shot.target.get(),
                              DWORD(std::max(milliseconds, 0)), 0, WT_EXECUTEONLYONCE)) {
        shots_.emplace(id, std::move(shot));
    }
}

void SingleShots::Fire(WPARAM id) {
    auto found = shots_.find(id);
    if (found == shots_.end()) {
        return;
    }
    std::function<void()> task = std::move(found->second.task);
    Delete(found->second);
    shots_.erase(found);
    RunGuarded(task);
}

} // namespace orvane
