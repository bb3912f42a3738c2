#include "platform/speech/TokenCategory.h"

#include "platform/speech/VoiceToken.h"

#include <algorithm>
#include <string_view>

namespace lusheng::sp {
namespace {

class TokenEnumerator final : public RefCounted<IEnumSpObjectTokens> {
  public:
    explicit TokenEnumerator(std::vector<ComPtr<VoiceToken>> tokens) : tokens_(std::move(tokens)) {}

    HRESULT Next(ULONG count, ISpObjectToken** tokens, ULONG* fetched) override {
        if (tokens == nullptr || (fetched == nullptr && count != 1)) {
            return E_POINTER;
        }
        ULONG given = 0;
        while (given < count && next_ < tokens_.size()) {
            tokens[given++] = ComPtr<ISpObjectToken>(tokens_[next_++]).Detach();
        }
        if (fetched != nullptr) {
            *fetched = given;
        }
        return given == count ? S_OK : S_FALSE;
    }
    HRESULT Skip(ULONG count) override {
        const std::size_t left = tokens_.size() - next_;
        next_ += std::min<std::size_t>(count, left);
        return count <= left ? S_OK : S_FALSE;
    }
    HRESULT Reset() override {
        next_ = 0;
        return S_OK;
    }
    HRESULT GetCount(ULONG* count) override {
        if (count == nullptr) {
            return E_POINTER;
        }
        *count = static_cast<ULONG>(tokens_.size());
        return S_OK;
    }
    HRESULT Item(ULONG index, ISpObjectToken** token) override {
        if (token == nullptr) {
            return E_POINTER;
        }
        if (index >= tokens_.size()) {
            *token = nullptr;
            return SPERR_NO_MORE_ITEMS;
        }
        *token = ComPtr<ISpObjectToken>(tokens_[index]).Detach();
        return S_OK;
    }

  private:
    std::vector<ComPtr<VoiceToken>> tokens_;
    std::size_t next_ = 0;
};

struct AttributeCondition {
    std::u16string name;
    std::optional<std::u16string> value;
};

std::vector<AttributeCondition> parseConditions(const WCHAR* text) {
    std::vector<AttributeCondition> out;
    std::u16string_view rest = text != nullptr ? std::u16string_view(text) : std::u16string_view();
    while (!rest.empty()) {
        const auto semicolon = rest.find(u';');
        const std::u16string_view item = rest.substr(0, semicolon);
        if (!item.empty()) {
            const auto equals = item.find(u'=');
            AttributeCondition condition{std::u16string(item.substr(0, equals)), std::nullopt};
            if (equals != std::u16string_view::npos) {
                condition.value = std::u16string(item.substr(equals + 1));
            }
            out.push_back(std::move(condition));
        }
        if (semicolon == std::u16string_view::npos) {
            break;
        }
        rest.remove_prefix(semicolon + 1);
    }
    return out;
}

// An attribute value may list several entries ("804;404" for a voice of two languages).
bool satisfies(const VoiceTokenData& token, const AttributeCondition& condition) {
    const auto it = token.attributes.find(condition.name);
    if (it == token.attributes.end()) {
        return false;
    }
    if (!condition.value) {
        return true;
    }
    std::u16string_view rest(it->second);
    while (true) {
        const auto semicolon = rest.find(u';');
        if (rest.substr(0, semicolon) == *condition.value) {
            return true;
        }
        if (semicolon == std::u16string_view::npos) {
            return false;
        }
        rest.remove_prefix(semicolon + 1);
    }
}

} // namespace

HRESULT TokenCategory::SetId(const WCHAR* categoryId, BOOL /*createIfNotExist*/) {
    if (categoryId == nullptr) {
        return E_POINTER;
    }
    if (!id_.empty()) {
        return SPERR_ALREADY_INITIALIZED;
    }
    if (std::u16string_view(categoryId) != std::u16string_view(SPCAT_VOICES)) {
        return SPERR_NOT_FOUND;
    }
    id_ = categoryId;
    return S_OK;
}

HRESULT TokenCategory::GetId(WCHAR** categoryId) {
    if (categoryId == nullptr) {
        return E_POINTER;
    }
    if (id_.empty()) {
        *categoryId = nullptr;
        return SPERR_UNINITIALIZED;
    }
    *categoryId = taskMemString(id_);
    return *categoryId != nullptr ? S_OK : E_OUTOFMEMORY;
}

HRESULT TokenCategory::EnumTokens(const WCHAR* required, const WCHAR* optional,
                                  IEnumSpObjectTokens** tokens) {
    if (tokens == nullptr) {
        return E_POINTER;
    }
    *tokens = nullptr;
    if (id_.empty()) {
        return SPERR_UNINITIALIZED;
    }
    const auto requiredConditions = parseConditions(required);
    const auto optionalConditions = parseConditions(optional);
    struct Ranked {
        std::size_t score;
        ComPtr<VoiceToken> token;
    };
    std::vector<Ranked> ranked;
    for (auto& data : readVoiceCatalogue()) {
        const bool fits = std::all_of(requiredConditions.begin(), requiredConditions.end(),
                                      [&](const auto& c) { return satisfies(data, c); });
        if (!fits) {
            continue;
        }
        const auto score = static_cast<std::size_t>(
            std::count_if(optionalConditions.begin(), optionalConditions.end(),
                          [&](const auto& c) { return satisfies(data, c); }));
        ranked.push_back({score, ComPtr<VoiceToken>::Attach(new VoiceToken(std::move(data)))});
    }
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const Ranked& a, const Ranked& b) { return a.score > b.score; });
    std::vector<ComPtr<VoiceToken>> ordered;
    ordered.reserve(ranked.size());
    for (auto& r : ranked) {
        ordered.push_back(std::move(r.token));
    }
    *tokens = new TokenEnumerator(std::move(ordered));
    return S_OK;
}

} // namespace lusheng::sp
