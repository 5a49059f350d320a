// Any text where 信息.ini keeps the opening time, the hot key or the typing
// sequence: nothing may crash, what is accepted reads back from its own
// text, and a sequence's text strokes are never empty.
#include "opening/opening_time.h"
#include "typing/hot_key.h"
#include "typing/typing_sequence.h"

#include "fuzz_check.h"

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    std::string text(reinterpret_cast<const char*>(bytes), size);
    auto time = ParseOpeningTime(text);
    if (auto* parsed = std::get_if<std::optional<OpeningTime>>(&time); parsed && *parsed) {
        auto again = ParseOpeningTime(OpeningTimeText(**parsed));
        Check(std::get<std::optional<OpeningTime>>(again) == *parsed);
    }
    auto key = ParseHotKey(text);
    if (auto* parsed = std::get_if<HotKey>(&key)) {
        Check(std::get<HotKey>(ParseHotKey(HotKeyText(*parsed))) == *parsed);
    }
    auto sequence = ParseSequence(text);
    if (auto* strokes = std::get_if<std::vector<Stroke>>(&sequence)) {
        for (const Stroke& stroke : *strokes) {
            Check(stroke.kind != Stroke::Kind::Text || !stroke.text.empty());
        }
    }
    return 0;
}
