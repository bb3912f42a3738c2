#pragma once
// A voice token: one installed voice, described by named string values.
// Tokens are immutable once made; any thread may read them.

#include "platform/speech/ComPtr.h"

namespace lusheng::sp {

class ISpObjectToken : public IUnknown {
  public:
    // The token's identifier, in task memory.
    virtual HRESULT GetId(WCHAR** id) = 0;
    // The value of that name, in task memory; a null or empty name reads the default
    // (unnamed) value. SPERR_NOT_FOUND when the token has no such value.
    virtual HRESULT GetStringValue(const WCHAR* valueName, WCHAR** value) = 0;
    // An attribute such as "Language" or "Gender"; SPERR_NOT_FOUND when missing.
    virtual HRESULT GetAttribute(const WCHAR* name, WCHAR** value) = 0;
};

} // namespace lusheng::sp
