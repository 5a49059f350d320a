// A damaged or hostile "信息.ini": arbitrary bytes as the file, any section
// and key, reads and single-item writes. Nothing may crash, a clean item
// written into any file reads back, and the file's text written back in the
// encoding it was read in is its bytes unchanged, as long as the encoding
// was told.
#include "profile/profile_format.h"
#include "text/text_encoding.h"

#include "fuzz_check.h"

#include <fuzzer/FuzzedDataProvider.h>

using namespace orvane;

namespace {

// Names and values that the format can carry unchanged.
bool Clean(const std::string& text) {
    if (text.empty()) {
        return false;
    }
    for (char c : text) {
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzedDataProvider data(bytes, size);
    auto [section, key, value, content] = TextsOf<3>(data, {16, 16, 32});

    DecodedText decoded = DecodeProfileText(content);
    Check(!decoded.sure || EncodeText(decoded) == content);
    IsProfileText(content);
    FindProfileValue(content, section, key);
    std::string written = SetProfileValue(content, section, key, value);
    if (Clean(section) && Clean(key) && Clean(value)) {
        Check(FindProfileValue(written, section, key) == value);
    }
    return 0;
}
