#pragma once
// A category of tokens; the only one is the voice category (SPCAT_VOICES).

#include "platform/speech/IEnumSpObjectTokens.h"

namespace lusheng::sp {

inline constexpr const WCHAR* SPCAT_VOICES =
    u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Speech\\Voices";

class ISpObjectTokenCategory : public IUnknown {
  public:
    // Any id but SPCAT_VOICES: SPERR_NOT_FOUND (categories are never created). A second SetId:
    // SPERR_ALREADY_INITIALIZED.
    virtual HRESULT SetId(const WCHAR* categoryId, BOOL createIfNotExist) = 0;
    virtual HRESULT GetId(WCHAR** categoryId) = 0;
    // Every token whose attributes satisfy `required` ("Name=Value;Name"), those satisfying more
    // of `optional` first, otherwise in catalogue order. Null or "" means no condition. The
    // catalogue is read afresh by every call. SPERR_UNINITIALIZED before SetId.
    virtual HRESULT EnumTokens(const WCHAR* required, const WCHAR* optional,
                               IEnumSpObjectTokens** tokens) = 0;
};

} // namespace lusheng::sp
