#include "platform/system/DisplayLanguage.h"

#include <gtest/gtest.h>

#include <map>

using namespace lusheng::sys;

namespace {

struct LocaleCase {
    const char* name;
    std::map<std::string, std::string> environment;
    LanguageId expected;
};

class DisplayLanguage : public ::testing::TestWithParam<LocaleCase> {};

TEST_P(DisplayLanguage, FollowsTheLocaleEnvironment) {
    const auto& env = GetParam().environment;
    const LanguageId id = displayLanguageFrom([&](const char* name) -> std::optional<std::string> {
        const auto it = env.find(name);
        return it == env.end() ? std::nullopt : std::optional<std::string>(it->second);
    });
    EXPECT_EQ(id, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DisplayLanguage,
    ::testing::Values(
        LocaleCase{"ZhCN", {{"LANG", "zh_CN.UTF-8"}}, 0x0804},
        LocaleCase{"ZhTW", {{"LANG", "zh_TW.UTF-8"}}, 0x0404},
        LocaleCase{"ZhHK", {{"LANG", "zh_HK.UTF-8"}}, 0x0C04},
        LocaleCase{"EnUS", {{"LANG", "en_US.UTF-8"}}, 0x0409},
        LocaleCase{"EnGB", {{"LANG", "en_GB.UTF-8"}}, 0x0809},
        LocaleCase{"JaJP", {{"LANG", "ja_JP.UTF-8"}}, 0x0411},
        LocaleCase{"DeDEWithModifier", {{"LANG", "de_DE.UTF-8@euro"}}, 0x0407},
        LocaleCase{"UnknownTerritoryUsesLanguage", {{"LANG", "fr_SN.UTF-8"}}, 0x040C},
        LocaleCase{"UnknownLanguage", {{"LANG", "xx_YY.UTF-8"}}, 0x0409},
        LocaleCase{"CLocale", {{"LANG", "C"}}, 0x0409},
        LocaleCase{"CUtf8Locale", {{"LANG", "C.UTF-8"}}, 0x0409},
        LocaleCase{"Posix", {{"LANG", "POSIX"}}, 0x0409}, LocaleCase{"Unset", {}, 0x0409},
        LocaleCase{"LcAllBeatsLang", {{"LC_ALL", "zh_CN.UTF-8"}, {"LANG", "en_US.UTF-8"}}, 0x0804},
        LocaleCase{"LcMessagesBeatsLang",
                   {{"LC_MESSAGES", "ja_JP.UTF-8"}, {"LANG", "en_US.UTF-8"}},
                   0x0411},
        LocaleCase{"LanguageListFirstKnown",
                   {{"LANGUAGE", "xx:zh_TW:en"}, {"LANG", "en_US.UTF-8"}},
                   0x0404},
        // As gettext does: LANGUAGE is ignored while the locale is C.
        LocaleCase{"LanguageIgnoredUnderC", {{"LANGUAGE", "zh_CN"}, {"LANG", "C"}}, 0x0409}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LanguageValueName, IsUpperHexWithoutLeadingZeros) {
    EXPECT_EQ(languageValueName(0x0804), "804");
    EXPECT_EQ(languageValueName(0x0409), "409");
    EXPECT_EQ(languageValueName(0x0C04), "C04");
    EXPECT_EQ(languageValueName(0x1004), "1004");
    EXPECT_EQ(languageValueName(0xABCD), "ABCD");
    EXPECT_EQ(languageValueName(0), "0");
}

} // namespace
