#pragma once
// The service's token category class. Internal to the service.

#include "platform/speech/ISpObjectTokenCategory.h"

#include <string>

namespace lusheng::sp {

class TokenCategory final : public RefCounted<ISpObjectTokenCategory> {
  public:
    HRESULT SetId(const WCHAR* categoryId, BOOL createIfNotExist) override;
    HRESULT GetId(WCHAR** categoryId) override;
    HRESULT EnumTokens(const WCHAR* required, const WCHAR* optional,
                       IEnumSpObjectTokens** tokens) override;

  private:
    std::u16string id_;
};

} // namespace lusheng::sp
