#pragma once
// Entry points of the speech service: per-thread initialisation and object creation.

#include "platform/speech/ComPtr.h"

namespace lusheng::sp {

inline constexpr CLSID CLSID_SpVoice{
    0x96749377, 0x3391, 0x11D2, {0x9E, 0xE3, 0x00, 0xC0, 0x4F, 0x79, 0x73, 0x96}};
inline constexpr CLSID CLSID_SpObjectTokenCategory{
    0xA910187F, 0x0C7A, 0x45AC, {0x92, 0xCC, 0x59, 0xED, 0xAF, 0xB7, 0x7B, 0x53}};
inline constexpr CLSID CLSID_SpStream{
    0x715D9C59, 0x4442, 0x11D2, {0x96, 0x05, 0x00, 0xC0, 0x4F, 0x8E, 0xE6, 0x28}};

// Counted per thread: S_OK for the first call on a thread, S_FALSE for further ones.
HRESULT CoInitialize(void* reserved);
void CoUninitialize();

// Makes an object of the class. Fails with CO_E_NOTINITIALIZED on a thread that has not called
// CoInitialize, CLASS_E_NOAGGREGATION with an outer object, REGDB_E_CLASSNOTREG for an unknown
// class or a context without in-process servers, E_NOINTERFACE when the class does not have that
// interface, E_OUTOFMEMORY, or the class's own reason (a voice fails when the engine cannot
// start).
HRESULT CoCreateInstanceUnknown(const CLSID& clsid, IUnknown* outer, DWORD context,
                                IUnknown** object);

template <class Interface>
HRESULT CoCreateInstance(const CLSID& clsid, IUnknown* outer, DWORD context, Interface** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    IUnknown* unknown = nullptr;
    const HRESULT hr = CoCreateInstanceUnknown(clsid, outer, context, &unknown);
    if (FAILED(hr)) {
        return hr;
    }
    *object = dynamic_cast<Interface*>(unknown);
    if (*object == nullptr) {
        unknown->Release();
        return E_NOINTERFACE;
    }
    return hr;
}

} // namespace lusheng::sp
