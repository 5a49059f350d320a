// Hostile header and cookie texts through the utilities that read response
// headers and merge cookies.
#include "http/header_utils.h"

#include "fuzz_check.h"

#include <fuzzer/FuzzedDataProvider.h>

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzedDataProvider data(bytes, size);
    auto [left, right, sent, text] = TextsOf<3>(data, {12, 12, 256});

    HeaderLineName(text);
    HeaderLineValue(text);
    Check(NormaliseHeaderNames(text).size() <= text.size());
    Check(TextBetween(text, left, right).size() <= text.size());
    TextBefore(text, left);

    ByteArray raw = BytesFromText(text);
    Check(Base64Encode(raw).size() == (raw.size() + 2) / 3 * 4);

    std::string returned = text;
    std::string merged = MergeCookies(sent, returned);
    Check(merged == sent);
    return 0;
}
