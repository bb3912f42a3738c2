// Voice listing and selection over fixture voice directories.

#include "speech/ETextToSpeech.h"
#include "tests/support/VoiceFixture.h"

#include <gtest/gtest.h>

using namespace lusheng;
using test::FixtureVoice;

namespace {

struct SelectionCase {
    const char* name;
    const char* locale;
    std::vector<FixtureVoice> voices;
    std::vector<std::string> expectedNames;      // GetVoiceNames()
    std::optional<std::size_t> defaultSelection; // after Create
    bool ruleMatches = true;                     // false: the platform's default voice stays
};

class DefaultVoiceRule : public ::testing::TestWithParam<SelectionCase> {};

TEST_P(DefaultVoiceRule, CreateSelectsTheFirstChineseVoice) {
    const auto& row = GetParam();
    test::pinDisplayLocale(row.locale);
    test::VoiceDirectory dir(row.voices);
    test::useOnlyVoiceDirectories({dir.path()});

    ETextToSpeech voice;
    voice.Create();
    ASSERT_TRUE(voice.IsCreated());
    EXPECT_EQ(voice.GetVoiceNames(), row.expectedNames);
    EXPECT_EQ(voice.GetSelectedVoiceIndex(), row.defaultSelection);
    // SelectVoice without a text applies the same rule.
    EXPECT_EQ(voice.SelectVoice(std::nullopt), row.ruleMatches);
    EXPECT_EQ(voice.GetSelectedVoiceIndex(), row.defaultSelection);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DefaultVoiceRule,
    ::testing::Values(
        SelectionCase{"CapitalsMatch",
                      "en_US.UTF-8",
                      {{.file = "1", .description = "English"},
                       {.file = "2", .description = "Voice CHINESE"},
                       {.file = "3", .description = "Another Chinese"}},
                      {"English", "Voice CHINESE", "Another Chinese"},
                      1},
        SelectionCase{"ChineseWordOnlyInTheZhValue",
                      "zh_CN.UTF-8",
                      {{.file = "1", .description = "Huihui", .chinese = "慧慧"},
                       {.file = "2", .description = "Kangkang", .chinese = "康康 中文 男声"}},
                      {"慧慧", "康康 中文 男声"},
                      1},
        // The same voices under English: neither English description matches; the platform
        // default (the first voice) stays.
        SelectionCase{"ChineseWordOnlyInTheZhValueReadInEnglish",
                      "en_US.UTF-8",
                      {{.file = "1", .description = "Huihui", .chinese = "慧慧"},
                       {.file = "2", .description = "Kangkang", .chinese = "康康 中文 男声"}},
                      {"Huihui", "Kangkang"},
                      0,
                      false},
        SelectionCase{"NoValueForTheDisplayLanguageUsesTheDefault",
                      "zh_CN.UTF-8",
                      {{.file = "1", .description = "English", .chinese = "英语"},
                       {.file = "2", .description = "Chinese voice", .english = "Chinese voice"}},
                      {"英语", "Chinese voice"},
                      1},
        SelectionCase{"VoiceWithoutDescriptionIsListedEmptyAndSkipped",
                      "en_US.UTF-8",
                      {{.file = "1", .chinese = "中文 only in 804"},
                       {.file = "2"},
                       {.file = "3", .description = "中文语音"}},
                      {"", "", "中文语音"},
                      2},
        SelectionCase{"NoDescriptionNeverChosen",
                      "zh_CN.UTF-8",
                      {{.file = "1", .english = "Chinese"}, {.file = "2", .description = "中文"}},
                      {"", "中文"},
                      1},
        SelectionCase{"FirstOfSeveralWins",
                      "zh_CN.UTF-8",
                      {{.file = "1", .description = "Japanese"},
                       {.file = "2", .description = "中文 一"},
                       {.file = "3", .description = "CHINESE two"}},
                      {"Japanese", "中文 一", "CHINESE two"},
                      1},
        SelectionCase{
            "FullWidthLettersAreNotAsciiChinese",
            "en_US.UTF-8",
            {{.file = "1", .description = "Plain"}, {.file = "2", .description = "ＣＨＩＮＥＳＥ"}},
            {"Plain", "ＣＨＩＮＥＳＥ"},
            0,
            false},
        SelectionCase{"EmptyCatalogue", "zh_CN.UTF-8", {}, {}, std::nullopt, false}),
    [](const auto& info) { return std::string(info.param.name); });

class SelectVoiceByDescription : public ::testing::Test {
  protected:
    void SetUp() override {
        test::pinDisplayLocale("en_US.UTF-8");
        test::useOnlyVoiceDirectories({dir_.path()});
        voice_.Create();
        ASSERT_TRUE(voice_.IsCreated());
    }
    test::VoiceDirectory dir_{{
        {.file = "1", .description = "Alpha", .engineVoice = "en"},
        {.file = "2", .description = "Alpha", .engineVoice = "de"},
        {.file = "3", .description = "Beta", .engineVoice = "fr"},
        {.file = "4", .description = "", .engineVoice = "it"},
        {.file = "5", .description = "Broken", .engineVoice = "no-such-voice"},
    }};
    ETextToSpeech voice_;
};

TEST_F(SelectVoiceByDescription, WholeTextCaseSensitiveFirstMatchWins) {
    struct Row {
        Text description;
        bool selected;
        std::optional<std::size_t> index;
    };
    const std::vector<Row> rows{
        {"Beta", true, 2},        {"Alpha", true, 0},   // duplicates: the first
        {"alpha", false, 0},      {"ALPHA", false, 0},  // letter case counts; voice kept
        {"Alph", false, 0},       {"Alpha ", false, 0}, // whole text only
        {"Broken", false, 0},     {"Beta", true, 2},    // an unloadable voice cannot be set
        {std::string(), true, 3},                       // "" is compared like any text
    };
    for (const auto& row : rows) {
        EXPECT_EQ(voice_.SelectVoice(row.description), row.selected)
            << row.description.value_or("<none>");
        EXPECT_EQ(voice_.GetSelectedVoiceIndex(), row.index) << row.description.value_or("<none>");
    }
}

TEST_F(SelectVoiceByDescription, NamesFromTheListSelectTheirVoice) {
    const auto names = voice_.GetVoiceNames();
    ASSERT_EQ(names, (TextArray{"Alpha", "Alpha", "Beta", "", "Broken"}));
    EXPECT_TRUE(voice_.SelectVoice(names[2]));
    EXPECT_EQ(voice_.GetSelectedVoiceIndex(), 2U);
}

TEST_F(SelectVoiceByDescription, DisplayLanguageIsReadForEveryCall) {
    test::VoiceDirectory dir({{.file = "1", .description = "Default", .chinese = "中文名"}});
    test::useOnlyVoiceDirectories({dir.path()});
    EXPECT_EQ(voice_.GetVoiceNames(), TextArray{"Default"});
    test::pinDisplayLocale("zh_CN.UTF-8");
    EXPECT_EQ(voice_.GetVoiceNames(), TextArray{"中文名"});
    EXPECT_TRUE(voice_.SelectVoice("中文名"));
    EXPECT_FALSE(voice_.SelectVoice("Default"));
}

TEST(VoiceLifeCycle, CreateTwiceKeepsTheVoiceAndDestroyIsIdempotent) {
    test::pinDisplayLocale("en_US.UTF-8");
    test::VoiceDirectory dir({{.file = "1", .description = "English"},
                              {.file = "2", .description = "Chinese"},
                              {.file = "3", .description = "Other"}});
    test::useOnlyVoiceDirectories({dir.path()});

    ETextToSpeech never;
    never.Destroy();
    never.Destroy();
    EXPECT_FALSE(never.IsCreated());
    EXPECT_TRUE(never.GetVoiceNames().empty());
    EXPECT_FALSE(never.SelectVoice("English"));

    ETextToSpeech voice;
    voice.Create();
    ASSERT_EQ(voice.GetSelectedVoiceIndex(), 1U);
    ASSERT_TRUE(voice.SelectVoice("Other"));
    voice.Create(); // keeps the selected voice
    EXPECT_EQ(voice.GetSelectedVoiceIndex(), 2U);
    voice.Destroy();
    EXPECT_FALSE(voice.IsCreated());
    EXPECT_TRUE(voice.GetVoiceNames().empty());
    voice.Destroy();
    voice.Create(); // afresh: the default rule again
    EXPECT_EQ(voice.GetSelectedVoiceIndex(), 1U);
}

} // namespace
