#pragma once
// An enumeration of voice tokens, fixed when it was made. Used from one thread at a time.

#include "platform/speech/ISpObjectToken.h"

namespace lusheng::sp {

class IEnumSpObjectTokens : public IUnknown {
  public:
    // Hands over up to `count` tokens (each with a reference for the caller). S_OK when `count`
    // were handed over, S_FALSE when fewer were left. `fetched` may be null when count is 1.
    virtual HRESULT Next(ULONG count, ISpObjectToken** tokens, ULONG* fetched) = 0;
    virtual HRESULT Skip(ULONG count) = 0;
    virtual HRESULT Reset() = 0;
    virtual HRESULT GetCount(ULONG* count) = 0;
    virtual HRESULT Item(ULONG index, ISpObjectToken** token) = 0;
};

} // namespace lusheng::sp
