#pragma once
// Reference-counted objects of the speech service, the smart pointer that holds them, and the
// service's task memory for strings it hands out.

#include "platform/speech/SpTypes.h"

#include <atomic>
#include <cstdlib>
#include <utility>

namespace lusheng::sp {

class IUnknown {
  public:
    virtual ULONG AddRef() = 0;
    // The object is destroyed when its last reference is released.
    virtual ULONG Release() = 0;

  protected:
    virtual ~IUnknown() = default;
};

// Implements the counting for a class of the service; objects start with one reference.
template <class Interface> class RefCounted : public Interface {
  public:
    ULONG AddRef() override { return refs_.fetch_add(1, std::memory_order_relaxed) + 1; }
    ULONG Release() override {
        const ULONG left = refs_.fetch_sub(1, std::memory_order_acq_rel) - 1;
        if (left == 0) {
            delete this;
        }
        return left;
    }

  private:
    std::atomic<ULONG> refs_{1};
};

// Owns one reference.
template <class T> class ComPtr {
  public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    ComPtr(const ComPtr& other) : ptr_(other.ptr_) { addRef(); }
    ComPtr(ComPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
    template <class U> ComPtr(const ComPtr<U>& other) : ptr_(other.Get()) { addRef(); }
    ~ComPtr() { Reset(); }

    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(ptr_, other.ptr_);
        return *this;
    }

    // Takes over a reference the caller already owns.
    static ComPtr Attach(T* owned) {
        ComPtr p;
        p.ptr_ = owned;
        return p;
    }
    // Adds a reference of its own.
    static ComPtr Share(T* borrowed) {
        ComPtr p;
        p.ptr_ = borrowed;
        p.addRef();
        return p;
    }

    T* Get() const { return ptr_; }
    T* operator->() const { return ptr_; }
    T& operator*() const { return *ptr_; }
    explicit operator bool() const { return ptr_ != nullptr; }
    T* Detach() { return std::exchange(ptr_, nullptr); }
    // For out-parameters: releases what is held and gives the slot to fill.
    T** ReleaseAndGetAddressOf() {
        Reset();
        return &ptr_;
    }
    void Reset() {
        if (T* p = std::exchange(ptr_, nullptr)) {
            p->Release();
        }
    }

  private:
    void addRef() {
        if (ptr_ != nullptr) {
            ptr_->AddRef();
        }
    }
    T* ptr_ = nullptr;
};

// Strings the service returns are task memory; the receiver frees them with CoTaskMemFree.
void* CoTaskMemAlloc(std::size_t bytes);
void CoTaskMemFree(void* memory);

// Frees task memory when it goes out of scope.
template <class T> class CoTaskMemPtr {
  public:
    CoTaskMemPtr() = default;
    ~CoTaskMemPtr() { CoTaskMemFree(ptr_); }
    CoTaskMemPtr(const CoTaskMemPtr&) = delete;
    CoTaskMemPtr& operator=(const CoTaskMemPtr&) = delete;
    T* get() const { return ptr_; }
    T** put() {
        CoTaskMemFree(std::exchange(ptr_, nullptr));
        return &ptr_;
    }

  private:
    T* ptr_ = nullptr;
};

} // namespace lusheng::sp
