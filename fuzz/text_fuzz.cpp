// Arbitrary bytes, dangling lead bytes and extreme counts through the text
// operations: no crash, no read outside the text, and results that keep
// their promises.
#include "text/text.h"

#include "fuzz_check.h"

#include <fuzzer/FuzzedDataProvider.h>

using namespace orvane;

namespace {

std::optional<int> MaybeInt(FuzzedDataProvider& data) {
    return data.ConsumeBool() ? std::optional<int>(data.ConsumeIntegral<int>()) : std::nullopt;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzedDataProvider data(bytes, size);
    std::string sought = data.ConsumeRandomLengthString(8);
    std::string other = data.ConsumeRandomLengthString(8);
    int a = data.ConsumeIntegral<int>();
    int b = data.ConsumeIntegral<int>();
    std::optional<int> start = MaybeInt(data);
    std::optional<int> count = MaybeInt(data);
    bool flag = data.ConsumeBool();
    std::string text = data.ConsumeRemainingBytesAsString();

    Check(LeftText(text, a).size() <= text.size());
    Check(RightText(text, a).size() <= text.size());
    std::string mid = MidText(text, a, b);
    Check(mid.empty() || text.compare(size_t(a - 1), mid.size(), mid) == 0);

    int found = FindSubtext(text, sought, start, flag);
    Check(found == -1 || (found >= 1 && size_t(found) <= text.size()));
    if (found != -1 && !flag && !sought.empty()) {
        Check(text.compare(size_t(found - 1), sought.size(), sought) == 0);
    }

    ReplaceSubtext(text, sought, other, start, count, flag);
    std::string removed =
        ReplaceSubtext(text, sought, std::nullopt, std::nullopt, std::nullopt, true);
    Check(removed.size() <= text.size());

    TextArray pieces = SplitText(text, sought, count);
    size_t total = 0;
    for (const std::string& piece : pieces) {
        total += piece.size();
    }
    Check(total <= text.size());

    std::string trimmed = TrimSpaces(text);
    Check(trimmed.size() <= text.size() && text.find(trimmed) != std::string::npos);
    Check(ToUpperCase(text).size() == text.size());
    return 0;
}
