#include "platform/speech/SpeechService.h"

#include "platform/speech/FileStream.h"
#include "platform/speech/SpVoice.h"
#include "platform/speech/TokenCategory.h"

#include <cstdlib>
#include <new>

namespace lusheng::sp {
namespace {
thread_local int initialisations = 0;
} // namespace

void* CoTaskMemAlloc(std::size_t bytes) {
    return std::malloc(bytes);
}
void CoTaskMemFree(void* memory) {
    std::free(memory);
}

HRESULT CoInitialize(void* /*reserved*/) {
    return initialisations++ == 0 ? S_OK : S_FALSE;
}

void CoUninitialize() {
    if (initialisations > 0) {
        --initialisations;
    }
}

HRESULT CoCreateInstanceUnknown(const CLSID& clsid, IUnknown* outer, DWORD context,
                                IUnknown** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    if (initialisations == 0) {
        return CO_E_NOTINITIALIZED;
    }
    if (outer != nullptr) {
        return CLASS_E_NOAGGREGATION;
    }
    if ((context & CLSCTX_INPROC_SERVER) == 0) {
        return REGDB_E_CLASSNOTREG;
    }
    try {
        if (clsid == CLSID_SpObjectTokenCategory) {
            *object = new TokenCategory;
            return S_OK;
        }
        if (clsid == CLSID_SpStream) {
            *object = new FileStream;
            return S_OK;
        }
        if (clsid == CLSID_SpVoice) {
            SpVoice* voice = nullptr;
            const HRESULT hr = SpVoice::create(&voice);
            *object = voice;
            return hr;
        }
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return REGDB_E_CLASSNOTREG;
}

} // namespace lusheng::sp
