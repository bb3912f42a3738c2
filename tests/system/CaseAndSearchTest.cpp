#include "platform/system/CaseAndSearch.h"

#include <gtest/gtest.h>

#include <clocale>

using namespace lusheng::sys;

namespace {

struct LowerCase {
    const char* name;
    std::string text;
    std::string lower;
};

class ToLower : public ::testing::TestWithParam<LowerCase> {};

TEST_P(ToLower, MapsEachCharacter) {
    EXPECT_EQ(toLowerCharwise(GetParam().text), GetParam().lower);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ToLower,
    ::testing::Values(LowerCase{"Capitals", "CHINESE", "chinese"},
                      LowerCase{"Mixed", "eSpeak NG Chinese (Mandarin)",
                                "espeak ng chinese (mandarin)"},
                      LowerCase{"FullWidth", "ＣＨＩＮＥＳＥ", "ｃｈｉｎｅｓｅ"},
                      LowerCase{"Cyrillic", "КИТАЙСКИЙ", "китайский"},
                      LowerCase{"HanUnchanged", "中文（普通话）", "中文（普通话）"},
                      LowerCase{"MalformedKept", "A\xFFZ", "a\uFFFDz"}),
    [](const auto& info) { return std::string(info.param.name); });

// The speech engine switches LC_CTYPE when it starts; case mapping must not care.
TEST(ToLower, DoesNotDependOnProcessLocale) {
    const std::string saved = std::setlocale(LC_CTYPE, nullptr);
    std::setlocale(LC_CTYPE, "C");
    EXPECT_EQ(toLowerCharwise("ＡБC"), "ａбc");
    std::setlocale(LC_CTYPE, saved.c_str());
}

struct SearchCase {
    const char* name;
    std::string haystack;
    std::string needle;
    std::size_t offset;
};

class Search : public ::testing::TestWithParam<SearchCase> {};

TEST_P(Search, MatchesOnlyAtCharacterStarts) {
    EXPECT_EQ(findAtCharacterStart(GetParam().haystack, GetParam().needle), GetParam().offset);
}

constexpr auto npos = std::string::npos;

INSTANTIATE_TEST_SUITE_P(
    Cases, Search,
    ::testing::Values(SearchCase{"Ascii", "espeak chinese", "chinese", 7},
                      SearchCase{"Chinese", "eSpeak NG 中文（普通话）", "中文", 10},
                      SearchCase{"Missing", "English", "chinese", npos},
                      SearchCase{"EmptyNeedle", "abc", "", 0},
                      SearchCase{"EmptyHaystack", "", "中文", npos},
                      // "\xB8\xAD" ends 中 (E4 B8 AD); a byte search would find it inside 中.
                      SearchCase{"NotInsideACharacter", "中", "\xB8\xAD", npos},
                      SearchCase{"AfterMalformedByte", "\xFF中文", "中文", 1}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
