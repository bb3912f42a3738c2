#include "platform/system/TextCodec.h"

#include <gtest/gtest.h>

using namespace lusheng::sys;

namespace {

struct Utf8Case {
    const char* name;
    std::string utf8;
    std::u16string utf16;
};

class Utf8ToUtf16 : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8ToUtf16, ConvertsAndReplacesMalformedInput) {
    EXPECT_EQ(utf8ToUtf16(GetParam().utf8), GetParam().utf16);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Utf8ToUtf16,
    ::testing::Values(Utf8Case{"Empty", "", u""}, Utf8Case{"Ascii", "Chinese", u"Chinese"},
                      Utf8Case{"Chinese", "中文（普通话）", u"中文（普通话）"},
                      Utf8Case{"FourByteCharacter", "\xF0\xA0\x80\x80", u"\U00020000"},
                      Utf8Case{"StrayContinuation",
                               "a\x80"
                               "b",
                               u"a\uFFFDb"},
                      Utf8Case{"TruncatedAtEnd", "\xE4\xB8", u"\uFFFD"},
                      Utf8Case{"TruncatedBeforeAscii", "\xE4\xB8x", u"\uFFFDx"},
                      Utf8Case{"Overlong", "\xC0\xAF", u"\uFFFD\uFFFD"},
                      Utf8Case{"EncodedSurrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
                      Utf8Case{"BeyondUnicode", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
                      // Each maximal invalid subpart becomes one U+FFFD: C4 | E3 BA | C3.
                      Utf8Case{"GbkBytes", "\xC4\xE3\xBA\xC3", u"\uFFFD\uFFFD\uFFFD"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Utf16ToUtf8, RoundTripsAndReplacesLoneSurrogates) {
    EXPECT_EQ(utf16ToUtf8(u"你好, world \U0001F600"), "你好, world \U0001F600");
    EXPECT_EQ(utf16ToUtf8(std::u16string(1, char16_t(0xD800)) + u"x"), "\uFFFDx");
    EXPECT_EQ(utf16ToUtf8(std::u16string(1, char16_t(0xDC00))), "\uFFFD");
    EXPECT_EQ(utf16ToUtf8(u""), "");
}

TEST(CodePoints, RecordCharacterStarts) {
    std::vector<std::size_t> starts;
    EXPECT_EQ(utf8ToCodePoints("a中\xF0\x9F\x98\x80"
                               "b",
                               &starts),
              U"a中\U0001F600b");
    EXPECT_EQ(starts, (std::vector<std::size_t>{0, 1, 4, 8}));
}

} // namespace
