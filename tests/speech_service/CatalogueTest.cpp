#include "platform/speech/ISpObjectTokenCategory.h"
#include "platform/speech/ISpVoice.h"
#include "platform/speech/SpeechService.h"
#include "platform/system/TextCodec.h"
#include "tests/support/VoiceFixture.h"

#include <gtest/gtest.h>

using namespace lusheng;
using namespace lusheng::sp;

namespace {

class Catalogue : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
    void TearDown() override { CoUninitialize(); }

    static ComPtr<IEnumSpObjectTokens> enumerate(const WCHAR* required = u"",
                                                 const WCHAR* optional = u"") {
        ComPtr<ISpObjectTokenCategory> category;
        EXPECT_EQ(CoCreateInstance(CLSID_SpObjectTokenCategory, nullptr, CLSCTX_ALL,
                                   category.ReleaseAndGetAddressOf()),
                  S_OK);
        EXPECT_EQ(category->SetId(SPCAT_VOICES, FALSE), S_OK);
        ComPtr<IEnumSpObjectTokens> tokens;
        EXPECT_EQ(category->EnumTokens(required, optional, tokens.ReleaseAndGetAddressOf()), S_OK);
        return tokens;
    }

    static std::vector<std::string> defaultValues(IEnumSpObjectTokens* tokens) {
        std::vector<std::string> out;
        ComPtr<ISpObjectToken> token;
        while (tokens->Next(1, token.ReleaseAndGetAddressOf(), nullptr) == S_OK) {
            CoTaskMemPtr<WCHAR> value;
            out.push_back(SUCCEEDED(token->GetStringValue(nullptr, value.put()))
                              ? sys::utf16ToUtf8(value.get())
                              : "<none>");
        }
        return out;
    }
};

TEST_F(Catalogue, ListsTokenFilesInFileNameOrderDirectoryByDirectory) {
    test::VoiceDirectory system({{.file = "b", .description = "B"},
                                 {.file = "a", .description = "A"},
                                 {.file = "c10", .description = "C10"}});
    test::VoiceDirectory user(
        std::vector<test::FixtureVoice>{{.file = "0first", .description = "User"}});
    system.write("ignored.txt", "[Voice]\nEngine=espeak-ng\n");
    system.write("notavoice.voice", "[Other]\nx=1\n");
    test::useOnlyVoiceDirectories({system.path(), user.path(), "/nonexistent/voices"});

    const auto tokens = enumerate();
    ULONG count = 0;
    ASSERT_EQ(tokens->GetCount(&count), S_OK);
    EXPECT_EQ(count, 4U);
    EXPECT_EQ(defaultValues(tokens.Get()), (std::vector<std::string>{"A", "B", "C10", "User"}));
}

TEST_F(Catalogue, TokenValuesByNameWithNotFoundForMissingOnes) {
    test::VoiceDirectory dir({{.file = "v", .description = "Default text", .chinese = "中文描述"}});
    dir.write("w.voice", "[Voice]\nEngine=espeak-ng\nEngineVoice=en\n[Description]\n0804=零开头\n");
    test::useOnlyVoiceDirectories({dir.path()});
    const auto tokens = enumerate();

    ComPtr<ISpObjectToken> first;
    ASSERT_EQ(tokens->Next(1, first.ReleaseAndGetAddressOf(), nullptr), S_OK);
    CoTaskMemPtr<WCHAR> value;
    ASSERT_EQ(first->GetStringValue(u"804", value.put()), S_OK);
    EXPECT_EQ(sys::utf16ToUtf8(value.get()), "中文描述");
    ASSERT_EQ(first->GetStringValue(u"", value.put()), S_OK);
    EXPECT_EQ(sys::utf16ToUtf8(value.get()), "Default text");
    EXPECT_EQ(first->GetStringValue(u"409", value.put()), SPERR_NOT_FOUND);
    EXPECT_EQ(value.get(), nullptr);
    ASSERT_EQ(first->GetId(value.put()), S_OK);
    EXPECT_EQ(sys::utf16ToUtf8(value.get()),
              "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Speech\\Voices\\Tokens\\v");

    // A voice with no default value at all; "0804" in the file is the value named "804".
    ComPtr<ISpObjectToken> second;
    ASSERT_EQ(tokens->Next(1, second.ReleaseAndGetAddressOf(), nullptr), S_OK);
    EXPECT_EQ(second->GetStringValue(nullptr, value.put()), SPERR_NOT_FOUND);
    ASSERT_EQ(second->GetStringValue(u"804", value.put()), S_OK);
    EXPECT_EQ(sys::utf16ToUtf8(value.get()), "零开头");

    ComPtr<ISpObjectToken> none;
    EXPECT_EQ(tokens->Next(1, none.ReleaseAndGetAddressOf(), nullptr), S_FALSE);
    EXPECT_FALSE(none);
}

TEST_F(Catalogue, RequiredAndOptionalAttributes) {
    test::VoiceDirectory dir({
        {.file = "1", .description = "English male", .attributes = "Language=409\nGender=Male"},
        {.file = "2",
         .description = "Bilingual female",
         .attributes = "Language=804;409\nGender=Female"},
        {.file = "3", .description = "Chinese male", .attributes = "Language=804\nGender=Male"},
    });
    test::useOnlyVoiceDirectories({dir.path()});
    EXPECT_EQ(defaultValues(enumerate(u"Language=804").Get()),
              (std::vector<std::string>{"Bilingual female", "Chinese male"}));
    EXPECT_EQ(defaultValues(enumerate(u"Language=804;Gender=Male").Get()),
              (std::vector<std::string>{"Chinese male"}));
    EXPECT_EQ(defaultValues(enumerate(u"", u"Gender=Female").Get()),
              (std::vector<std::string>{"Bilingual female", "English male", "Chinese male"}));
    EXPECT_EQ(defaultValues(enumerate(u"Age=Child").Get()), std::vector<std::string>{});
}

TEST_F(Catalogue, CategoryIdentifiersAndEnumeratorBounds) {
    test::VoiceDirectory dir(
        {{.file = "a", .description = "A"}, {.file = "b", .description = "B"}});
    test::useOnlyVoiceDirectories({dir.path()});
    ComPtr<ISpObjectTokenCategory> category;
    ASSERT_EQ(CoCreateInstance(CLSID_SpObjectTokenCategory, nullptr, CLSCTX_ALL,
                               category.ReleaseAndGetAddressOf()),
              S_OK);
    ComPtr<IEnumSpObjectTokens> tokens;
    EXPECT_EQ(category->EnumTokens(u"", u"", tokens.ReleaseAndGetAddressOf()), SPERR_UNINITIALIZED);
    EXPECT_EQ(
        category->SetId(u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Speech\\Recognizers", FALSE),
        SPERR_NOT_FOUND);
    EXPECT_EQ(category->SetId(SPCAT_VOICES, FALSE), S_OK);
    EXPECT_EQ(category->SetId(SPCAT_VOICES, FALSE), SPERR_ALREADY_INITIALIZED);
    ASSERT_EQ(category->EnumTokens(nullptr, nullptr, tokens.ReleaseAndGetAddressOf()), S_OK);

    ISpObjectToken* batch[3] = {};
    ULONG fetched = 0;
    EXPECT_EQ(tokens->Next(3, batch, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 2U);
    for (ULONG i = 0; i < fetched; ++i) {
        batch[i]->Release();
    }
    EXPECT_EQ(tokens->Reset(), S_OK);
    EXPECT_EQ(tokens->Skip(5), S_FALSE);
    ComPtr<ISpObjectToken> item;
    EXPECT_EQ(tokens->Item(1, item.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(tokens->Item(2, item.ReleaseAndGetAddressOf()), SPERR_NO_MORE_ITEMS);
}

TEST_F(Catalogue, ObjectCreationReportsItsFailures) {
    ComPtr<ISpObjectTokenCategory> category;
    ComPtr<ISpVoice> wrong;
    EXPECT_EQ(CoCreateInstance(CLSID_SpObjectTokenCategory, nullptr, CLSCTX_LOCAL_SERVER,
                               category.ReleaseAndGetAddressOf()),
              REGDB_E_CLASSNOTREG);
    EXPECT_EQ(
        CoCreateInstance(GUID{1, 2, 3, {}}, nullptr, CLSCTX_ALL, category.ReleaseAndGetAddressOf()),
        REGDB_E_CLASSNOTREG);
    EXPECT_EQ(CoCreateInstance(CLSID_SpObjectTokenCategory, nullptr, CLSCTX_ALL,
                               wrong.ReleaseAndGetAddressOf()),
              E_NOINTERFACE);
    EXPECT_FALSE(wrong);

    CoUninitialize();
    EXPECT_EQ(CoCreateInstance(CLSID_SpObjectTokenCategory, nullptr, CLSCTX_ALL,
                               category.ReleaseAndGetAddressOf()),
              CO_E_NOTINITIALIZED);
    EXPECT_EQ(CoInitialize(nullptr), S_OK);
    EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
    CoUninitialize();
}

} // namespace
