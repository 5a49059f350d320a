// Any text where 信息.ini keeps the opening time, the hot key or the typing
// sequence: nothing may crash, what is accepted reads back from its own
// text, and a sequence's text steps are never empty.
#include "opening/opening_time.h"
#include "typing/hot_key.h"
#include "typing/typing_sequence.h"

#include "fuzz_check.h"

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    std::string text(reinterpret_cast<const char*>(bytes), size);
    if (auto time = ParseOpeningTime(text); time && *time) {
        auto again = ParseOpeningTime(OpeningTimeText(**time));
        Check(again && *again == *time);
    }
    if (auto key = ParseHotKey(text)) {
        auto again = ParseHotKey(HotKeyText(*key));
        Check(again && *again == *key);
    }
    if (auto steps = ParseSequence(text)) {
        for (const SequenceStep& step : *steps) {
            Check(step.kind != SequenceStep::Kind::Text || !step.text.empty());
        }
    }
    return 0;
}
