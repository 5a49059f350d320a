#include "single_shots.h"

#include "window/fatal_error.h"

#include <algorithm>
#include <memory>

namespace orvane {

namespace {

struct Target {
    HWND window;
    WPARAM id;
};

void CALLBACK Post(PVOID parameter, BOOLEAN) {
    std::unique_ptr<Target> target(static_cast<Target*>(parameter));
    PostMessageW(target->window, SingleShots::kMessage, target->id, 0);
}

} // namespace

void SingleShots::Add(int milliseconds, std::function<void()> task) {
    WPARAM id = next_++;
    tasks_[id] = std::move(task);
    auto* target = new Target{window_, id};
    HANDLE timer = nullptr;
    if (!CreateTimerQueueTimer(&timer, nullptr, Post, target, DWORD(std::max(milliseconds, 0)), 0,
                               WT_EXECUTEONLYONCE)) {
        delete target;
        tasks_.erase(id);
    }
}

void SingleShots::Fire(WPARAM id) {
    auto found = tasks_.find(id);
    if (found != tasks_.end()) {
        std::function<void()> task = std::move(found->second);
        tasks_.erase(found);
        RunGuarded(task);
    }
}

} // namespace orvane
