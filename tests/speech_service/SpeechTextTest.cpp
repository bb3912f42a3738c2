#include "platform/speech/SpeechText.h"
#include "platform/speech/TimeStretch.h"
#include "platform/system/TextEncoding.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace lusheng;
using namespace lusheng::sp;

namespace {

struct PieceCase {
    const char* name;
    std::u16string text;
    std::size_t maxUnits;
    std::vector<std::u16string> pieces;
};

class Pieces : public ::testing::TestWithParam<PieceCase> {};

TEST_P(Pieces, CutAtSentenceThenClauseThenLimit) {
    const auto& row = GetParam();
    std::vector<std::u16string> got;
    for (std::size_t pos = 0; pos < row.text.size();) {
        const std::size_t end = pieceEnd(row.text, pos, row.maxUnits);
        ASSERT_GT(end, pos);
        got.push_back(row.text.substr(pos, end - pos));
        pos = end;
    }
    EXPECT_EQ(got, row.pieces);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Pieces,
    ::testing::Values(
        PieceCase{"Sentences", u"你好。世界！好吗？", 20, {u"你好。", u"世界！", u"好吗？"}},
        PieceCase{"ClosingQuoteStaysWithItsSentence",
                  u"他说：“走。”然后",
                  20,
                  {u"他说：“走。”", u"然后"}},
        PieceCase{"LongSentenceAtLastComma",
                  u"一二三，四五六七八九十",
                  8,
                  {u"一二三，", u"四五六七八九十"}},
        PieceCase{"NoMarksAtLimit", u"一二三四五六七", 3, {u"一二三", u"四五六", u"七"}},
        PieceCase{"DecimalPointIsNoSentenceEnd", u"pi is 3.14. Yes", 40, {u"pi is 3.14.", u" Yes"}},
        PieceCase{"SurrogatePairKeptWhole", u"ab\U00020000cd", 3, {u"ab", u"\U00020000c", u"d"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Markup, SegmentsCarryTheirProsody) {
    const auto segments = parseSpeechMarkup(
        u"开始<silence msec=\"500\"/><rate absspeed=\"5\">快<rate speed=\"-2\">慢一点</rate></rate>"
        u"<volume level=\"50\">轻</volume><pitch absmiddle=\"4\">高</pitch><emph>重</emph>"
        u"<spell>abc</spell><unknown>照读</unknown>");
    ASSERT_TRUE(segments.has_value());
    ASSERT_EQ(segments->size(), 9U);
    const auto& s = *segments;
    EXPECT_EQ(s[0].text, u"开始");
    EXPECT_EQ(s[1].silenceMs, 500U);
    EXPECT_EQ(s[2].absoluteRate, 5);
    EXPECT_EQ(s[3].absoluteRate, 5);
    EXPECT_EQ(s[3].rateChange, -2);
    EXPECT_EQ(s[4].volume, 50);
    EXPECT_EQ(s[5].pitch, 4);
    EXPECT_GT(s[6].pitch, 0);
    EXPECT_TRUE(s[7].spell);
    EXPECT_EQ(s[8].text, u"照读");
}

TEST(Markup, MalformedIsRejectedAndTagsRecognised) {
    EXPECT_FALSE(parseSpeechMarkup(u"<rate speed=\"2\">没有结束").has_value());
    EXPECT_FALSE(parseSpeechMarkup(u"<a><b></a></b>").has_value());
    EXPECT_TRUE(parseSpeechMarkup(u"没有标签").has_value());
    EXPECT_TRUE(looksLikeMarkup(u"  <speak>x</speak>"));
    EXPECT_TRUE(looksLikeMarkup(u"<?xml version=\"1.0\"?><a/>"));
    EXPECT_FALSE(looksLikeMarkup(u"<<三国演义>>"));
    EXPECT_FALSE(looksLikeMarkup(u"普通文字 <b>"));
    EXPECT_EQ(spelledOut(u"ab\U00020000"), u"a b \U00020000");
}

TEST(Rate, PlanCoversANineFoldRangeExactly) {
    for (int rate = -10; rate <= 10; ++rate) {
        const RatePlan plan = planRate(rate);
        const double speed = plan.wordsPerMinute / 175.0 * plan.stretch;
        EXPECT_NEAR(speed, std::pow(3.0, rate / 10.0), 0.01) << rate;
        EXPECT_GE(plan.wordsPerMinute, 80) << rate;
    }
    EXPECT_EQ(planRate(10).wordsPerMinute, 525);
    EXPECT_FLOAT_EQ(planRate(0).stretch, 1.0F);
}

TEST(Rate, StretchChangesDurationBySpeed) {
    std::vector<std::int16_t> tone(22050);
    for (std::size_t i = 0; i < tone.size(); ++i) {
        tone[i] = static_cast<std::int16_t>(8000 * std::sin(static_cast<double>(i) * 0.05));
    }
    EXPECT_NEAR(static_cast<double>(stretchSpeech(tone, 0.5F, 22050).size()), 44100.0, 2205.0);
    EXPECT_EQ(stretchSpeech(tone, 1.0F, 22050).size(), tone.size());
}

struct DecodeCase {
    const char* name;
    std::string bytes;
    std::string text;
    sys::TextEncoding encoding;
    bool bom;
};

class Decode : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(Decode, RecognisesTheEncoding) {
    const auto decoded = sys::decodeText(GetParam().bytes);
    EXPECT_EQ(decoded.utf8, GetParam().text);
    EXPECT_EQ(decoded.encoding, GetParam().encoding);
    EXPECT_EQ(decoded.byteOrderMark, GetParam().bom);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Decode,
    ::testing::Values(DecodeCase{"Gbk", "\xC4\xE3\xBA\xC3\xA3\xAC\xCA\xC0\xBD\xE7", "你好，世界",
                                 sys::TextEncoding::Gb18030, false},
                      DecodeCase{"Gb18030FourByte", "\x95\x32\x82\x36", "\U00020000",
                                 sys::TextEncoding::Gb18030, false},
                      DecodeCase{"Utf8", "你好", "你好", sys::TextEncoding::Utf8, false},
                      DecodeCase{"Utf8Bom", "\xEF\xBB\xBF你好", "你好", sys::TextEncoding::Utf8,
                                 true},
                      DecodeCase{"Utf16LE", std::string("\xFF\xFE\x60\x4F\x7D\x59", 6), "你好",
                                 sys::TextEncoding::Utf16LE, true},
                      DecodeCase{"Utf16BE", std::string("\xFE\xFF\x4F\x60\x59\x7D", 6), "你好",
                                 sys::TextEncoding::Utf16BE, true},
                      DecodeCase{"StopsAtZeroByte", std::string("ab\0cd", 5), "ab",
                                 sys::TextEncoding::Utf8, false},
                      DecodeCase{"Empty", "", "", sys::TextEncoding::Utf8, false}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
