// Deferred steps bound to an owner's lifetime.
#include "runtime/lifetime.h"

#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <vector>

namespace orvane {

namespace {

// A step kept by a timer or a reply runs while its owner lives, with the
// arguments given; after Renew only steps bound since run, and none once
// the owner is gone.
TEST(Lifetime, StepsRunOnlyWhileTheirOwnerLivesAndWasNotRenewed) {
    std::vector<int> ran;
    std::function<void(int)> early;
    std::function<void(int)> late;
    {
        std::optional<Lifetime> owner(std::in_place);
        early = owner->Bind([&ran](int n) { ran.push_back(n); });
        early(1);
        owner->Renew();
        early(2);
        late = owner->Bind([&ran](int n) { ran.push_back(n * 10); });
        late(3);
        owner.reset();
    }
    early(4);
    late(5);
    EXPECT_EQ(ran, (std::vector<int>{1, 30}));
}

} // namespace

} // namespace orvane
