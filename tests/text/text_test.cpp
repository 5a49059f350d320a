#include "text/ansi_literals.h"
#include "text/text.h"

#include <gtest/gtest.h>

namespace orvane {

namespace {

// "中" is D6 D0 in GB18030; "中文" holds the byte pair D0 CE across its two
// characters, which a byte-wise search would wrongly find.
const std::string kZhong = "中";

TEST(Slices, LeftRightMid) {
    EXPECT_EQ(LeftText("abc", 2), "ab");
    EXPECT_EQ(LeftText("abc", 9), "abc");
    EXPECT_EQ(LeftText("abc", 0), "");
    EXPECT_EQ(LeftText("abc", -3), "");
    EXPECT_EQ(LeftText("中文", 1), kZhong.substr(0, 1)) << "lead byte alone";
    EXPECT_EQ(RightText("abc", 2), "bc");
    EXPECT_EQ(RightText("abc", 9), "abc");
    EXPECT_EQ(RightText("abc", 0), "");
    EXPECT_EQ(MidText("abcdef", 2, 3), "bcd");
    EXPECT_EQ(MidText("abcdef", 0, 3), "");
    EXPECT_EQ(MidText("abcdef", 5, 99), "ef");
    EXPECT_EQ(MidText("abcdef", 7, 1), "");
    EXPECT_EQ(MidText("abcdef", 2, 0), "");
    EXPECT_EQ(MidText("abcdef", INT32_MIN, 5), "");
}

struct FindCase {
    std::string text, sought;
    std::optional<int> start;
    bool ignoreCase;
    int expected;
};

TEST(FindSubtext, Table) {
    const FindCase cases[] = {
        {"user-agent: x", "User-Agent:", std::nullopt, true, 1},
        {"user-agent: x", "User-Agent:", std::nullopt, false, -1},
        {"abcabc", "bc", std::nullopt, false, 2},
        {"abcabc", "bc", 3, false, 5},
        {"abcabc", "bc", 0, false, 2},
        {"abcabc", "bc", -5, false, 2},
        {"abc", "c", 4, false, -1},
        {"abc", "", std::nullopt, false, 1},
        {"abc", "", 3, false, 1},
        {"abc", "", 4, false, -1},
        {"", "", std::nullopt, false, -1},
        {"ab", "abc", std::nullopt, false, -1},
        {"中文", "\xD0\xCE", std::nullopt, false, -1}, // trail byte + next lead
        {"a中b", "b", std::nullopt, false, 4},
        {"𠮷x", "x", std::nullopt, false, 5},     // four-byte character
        {"\xB0", "\xB0", std::nullopt, false, 1}, // dangling lead itself
        {"ABC", "abc", std::nullopt, true, 1},
        {"中ABC",
         "\xD0"
         "A",
         std::nullopt, true, -1},
    };
    for (const FindCase& c : cases) {
        EXPECT_EQ(FindSubtext(c.text, c.sought, c.start, c.ignoreCase), c.expected)
            << c.text << " / " << c.sought;
    }
}

TEST(FindSubtext, NeverMatchesOnATrailByte) {
    // Every GBK trail byte that is also ASCII ('@' to '~'): "丂" is 81 40.
    for (int trail = 0x40; trail <= 0x7E; ++trail) {
        std::string text = std::string("\x81") + char(trail);
        EXPECT_EQ(FindSubtext(text, std::string(1, char(trail))), -1) << trail;
        EXPECT_EQ(FindSubtext(text + char(trail), std::string(1, char(trail))), 3) << trail;
    }
}

TEST(ReplaceSubtext, Table) {
    EXPECT_EQ(ReplaceSubtext("cookie: a=1", "Cookie:", ""), " a=1");
    EXPECT_EQ(ReplaceSubtext("cookie: a=1", "Cookie:", "", 1, -1, true), "cookie: a=1");
    EXPECT_EQ(ReplaceSubtext("aaaa", "a", "b", 2, 2, true), "abba");
    EXPECT_EQ(ReplaceSubtext("aaaa", "a", "b", -7, std::nullopt, true), "bbbb");
    EXPECT_EQ(ReplaceSubtext("aaaa", "a", "b", 1, 0, true), "aaaa");
    EXPECT_EQ(ReplaceSubtext("aaaa", "a", "b", 5, 1, true), "aaaa");
    EXPECT_EQ(ReplaceSubtext("aaaa", "aa", std::nullopt), "");
    EXPECT_EQ(ReplaceSubtext("aaa", "aa", "b"), "ba") << "matches do not overlap";
    EXPECT_EQ(ReplaceSubtext("", "a", "b"), "");
    EXPECT_EQ(ReplaceSubtext("abc", "", "b"), "abc");
    EXPECT_EQ(ReplaceSubtext("中文", "\xD0\xCE", "X"), "中文");
    EXPECT_EQ(ReplaceSubtext("ab\xB0", "a", "x"), "xb") << "dangling lead dropped";
    EXPECT_EQ(ReplaceSubtext("#引号a#引号", "#引号", "\"", 1, -1, true), "\"a\"");
}

TEST(SplitText, Table) {
    using A = TextArray;
    EXPECT_EQ(SplitText("a\r\nb\r\n", "\r\n"), (A{"a", "b"}));
    EXPECT_EQ(SplitText("a,,b"), (A{"a", "", "b"}));
    EXPECT_EQ(SplitText(",a"), (A{"", "a"}));
    EXPECT_EQ(SplitText("", ","), A{});
    EXPECT_EQ(SplitText("abc", ""), A{"abc"});
    EXPECT_EQ(SplitText("a,b", std::nullopt), (A{"a", "b"})) << "absent means the default";
    EXPECT_EQ(SplitText("a-b-c", "-", 2), (A{"a", "b"}));
    EXPECT_EQ(SplitText("a-b", "-", 0), A{});
    EXPECT_EQ(SplitText("a-b", "-", -1), A{});
    EXPECT_EQ(SplitText("a-b", "-", 5), (A{"a", "b"}));
    EXPECT_EQ(SplitText("\x81-x-y", "-"), (A{"\x81-x", "y"})) << "'-' as a trail byte is no cut";
    EXPECT_EQ(SplitText("a;b\xB0", ";"), (A{"a", "b\xB0"}));
}

TEST(TrimSpaces, AsciiAndFullWidthSpacesOnly) {
    EXPECT_EQ(TrimSpaces("\xA1\xA1  中 文 \xA1\xA1 "), "中 文");
    EXPECT_EQ(TrimSpaces("\tab\t"), "\tab\t");
    EXPECT_EQ(TrimSpaces(" \r\n "), "\r\n");
    EXPECT_EQ(TrimSpaces("   "), "");
    EXPECT_EQ(TrimSpaces(""), "");
    EXPECT_EQ(TrimSpaces("ab \xB0"), "ab") << "dangling lead dropped";
    // B0 A1 is one character; the A1 A1 after it is a full-width space.
    EXPECT_EQ(TrimSpaces("\xB0\xA1\xA1\xA1"), "\xB0\xA1");
}

TEST(ToUpperCase, AsciiOnly) {
    EXPECT_EQ(ToUpperCase(""), "");
    EXPECT_EQ(ToUpperCase("a中b"), "A中B");
    EXPECT_EQ(ToUpperCase("\x81"
                          "a"),
              "\x81"
              "a")
        << "a trail byte is no letter";
}

} // namespace

} // namespace orvane
