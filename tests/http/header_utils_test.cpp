#include "http/header_utils.h"
#include "text/ansi_literals.h"

#include <gtest/gtest.h>

namespace orvane {

namespace {

TEST(HeaderLine, NameAndValue) {
    struct Line {
        const char* text;
        const char* name;
        const char* value;
    };
    for (const Line& line :
         {Line{"no colon", "", ""}, Line{"", "", ""}, Line{" Accept :  */* ", "Accept", "*/*"},
          Line{"Referer: http://a/b:8", "Referer", "http://a/b:8"}, Line{":x", "", "x"}}) {
        EXPECT_EQ(HeaderLineName(line.text), line.name) << line.text;
        EXPECT_EQ(HeaderLineValue(line.text), line.value) << line.text;
    }
}

TEST(NormaliseHeaderNames, CapitalisesEachHyphenPartAndDropsGarbage) {
    EXPECT_EQ(NormaliseHeaderNames("content-type: text/html\r\nx-requested-with: a-b\r\ngarbage"),
              "Content-Type: text/html\r\nX-Requested-With: a-b");
    EXPECT_EQ(NormaliseHeaderNames(""), "");
    EXPECT_EQ(NormaliseHeaderNames("USER-agent: q"), "USER-Agent: q");
    EXPECT_EQ(NormaliseHeaderNames("\r\naccept: */*\r\n"), "Accept: */*");
    EXPECT_EQ(NormaliseHeaderNames(" accept: x"), " accept: x") << "leading space kept";
    EXPECT_EQ(NormaliseHeaderNames("x-: y"), "X-: y") << "hyphen at the end comes back";
    EXPECT_EQ(NormaliseHeaderNames("a--b: y"), "A--B: y");
    EXPECT_EQ(NormaliseHeaderNames("中-b: y"), "中-B: y");
}

TEST(TextBetween, MarkersAndQuoteToken) {
    std::string headers = "HTTP/1.1 200 OK\r\nX-Date: early\r\nDate: Sun, 06 Dec 2026 "
                          "23:05:19 GMT\r\nServer: t\r\n";
    EXPECT_EQ(TextBetween(headers, "Date:", "\r\n"), " early");
    EXPECT_EQ(TextBetween("Date: Sun, 06 Dec 2026 23:05:19 GMT\r\n", "Date:", "\r\n"),
              " Sun, 06 Dec 2026 23:05:19 GMT");
    EXPECT_EQ(TextBetween("date: x\r\n", "Date:", "\r\n"), "");
    EXPECT_EQ(TextBetween("Date: x", "Date:", "\r\n"), "") << "no right marker";
    EXPECT_EQ(TextBetween("ab", "a", "b"), "");
    EXPECT_EQ(TextBetween("say \"a\" now", kQuoteToken + "a" + kQuoteToken, " "), "");
    EXPECT_EQ(TextBetween("k=\"v\";", "k=" + kQuoteToken, kQuoteToken), "v");
    EXPECT_EQ(kQuoteToken, "#引号");
}

TEST(TextBefore, FirstMarker) {
    EXPECT_EQ(TextBefore("Set-Cookie: a=1", ": "), "Set-Cookie");
    EXPECT_EQ(TextBefore("Set-Cookie:a=1", ": "), "");
    EXPECT_EQ(TextBefore(": x", ": "), "");
}

TEST(Base64Encode, PaddingAndAlphabet) {
    auto encode = [](const std::string& s) { return Base64Encode(BytesFromText(s)); };
    EXPECT_EQ(encode(""), "");
    EXPECT_EQ(encode("f"), "Zg==");
    EXPECT_EQ(encode("fo"), "Zm8=");
    EXPECT_EQ(encode("foo"), "Zm9v");
    EXPECT_EQ(encode("foobar"), "Zm9vYmFy");
    EXPECT_EQ(encode("user:pass"), "dXNlcjpwYXNz");
    EXPECT_EQ(Base64Encode({0xFB, 0xFF, 0xBF}), "+/+/");
    EXPECT_EQ(Base64Encode({0, 0, 0, 0}), "AAAAAA==");
}

TEST(Cookies, NamesAndLists) {
    EXPECT_EQ(CookieName(" sid = 7 "), "sid");
    EXPECT_EQ(CookieName("flag"), "flag");
    EXPECT_TRUE(HasCookieNamed({"a=1", "b=2"}, "b"));
    EXPECT_FALSE(HasCookieNamed({"a=1", "B=2"}, "b"));
    EXPECT_EQ(IndexOfText({"x", "y", "y"}, "y"), 2);
    EXPECT_EQ(IndexOfText({"x"}, "z"), -1);
    EXPECT_EQ(RemoveDuplicateItems("a; b; a; ; c; ", "; "), "a; b; ; c");
    EXPECT_EQ(RemoveDuplicateItems("", "; "), "");
}

struct MergeCase {
    std::string sent, returned, merged;
};

TEST(MergeCookies, ReturnedWinsOrderKeptDeletedGone) {
    const MergeCase cases[] = {
        {"a=1; b=2; c=3", "b=9; d=4", "b=9; d=4; a=1; c=3"},
        {"a=1", "a=deleted", ""},
        {"a=1; a=2", "", "a=1"},
        {"", "x=1; x=1", "x=1"},
        {"a=1;", "b=2", "b=2; a=1"},
        {"a=1; b=2", "b=3", "b=3; a=1"},
        {"  a=1  ", " b=2;", "b=2; a=1"},
        {"a=1;b=2", "", "a=1;b=2"},
        {"", "", ""},
    };
    for (const MergeCase& c : cases) {
        std::string sent = c.sent;
        std::string returned = c.returned;
        EXPECT_EQ(MergeCookies(sent, returned), c.merged) << c.sent << " | " << c.returned;
        EXPECT_EQ(sent, c.merged);
    }
}

TEST(MergeCookies, TrimsBothArgumentsInPlace) {
    std::string sent = " a=1 ";
    std::string returned = " b=2; ";
    MergeCookies(sent, returned);
    EXPECT_EQ(sent, "b=2; a=1");
    EXPECT_EQ(returned, "b=2; ") << "a trailing semicolon gets its space back";
}

} // namespace

} // namespace orvane
