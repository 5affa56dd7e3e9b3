// Owning COM interface pointer: Release on scope exit. Declared in reverse
// order of acquisition, a set of these releases exactly as COM rules ask.
#pragma once

#include <unknwn.h>

#include <utility>

template <class Interface> class ComPtr {
public:
    ComPtr() noexcept = default;
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : m_ptr(other.detach()) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            reset();
            m_ptr = other.detach();
        }
        return *this;
    }

    Interface* get() const noexcept { return m_ptr; }
    Interface* operator->() const noexcept { return m_ptr; }
    explicit operator bool() const noexcept { return m_ptr != nullptr; }

    // For out-parameters: releases what is held first.
    Interface** put() noexcept {
        reset();
        return &m_ptr;
    }
    void** put_void() noexcept { return reinterpret_cast<void**>(put()); }

    Interface* detach() noexcept { return std::exchange(m_ptr, nullptr); }
    void reset() noexcept {
        if (Interface* old = std::exchange(m_ptr, nullptr)) {
            old->Release();
        }
    }

private:
    Interface* m_ptr = nullptr;
};
