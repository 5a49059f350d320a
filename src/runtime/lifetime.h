#pragma once

#include <memory>
#include <utility>

namespace orvane {

// Runs `step` with the arguments given only while `owner` lives, and keeps
// it alive for the call: a deferred step (a timer's, a reply's, a slow
// job's answer) never reaches an object that is gone.
template <class Step> auto WhileAlive(std::weak_ptr<const void> owner, Step step) {
    return [owner = std::move(owner), step = std::move(step)](auto&&... arguments) {
        if (std::shared_ptr<const void> held = owner.lock()) {
            step(std::forward<decltype(arguments)>(arguments)...);
        }
    };
}

// What an object's deferred steps are bound to: a member of the object, so
// that a step bound with Bind does nothing once the object is gone, or once
// it called Renew to drop every step bound before.
class Lifetime {
public:
    template <class Step> auto Bind(Step step) const { return WhileAlive(token_, std::move(step)); }
    void Renew() { token_ = std::make_shared<const int>(0); }

private:
    std::shared_ptr<const void> token_ = std::make_shared<const int>(0);
};

} // namespace orvane
