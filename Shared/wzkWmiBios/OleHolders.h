// Owning holders for the OLE automation values a BIOS request is built from.
#pragma once

#include "common/UniqueHandle.h"

#include <oleauto.h>

struct BstrTraits {
    using Handle = BSTR;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::SysFreeString(h); }
};
using UniqueBstr = UniqueResource<BstrTraits>;

struct SafeArrayTraits {
    using Handle = SAFEARRAY*;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::SafeArrayDestroy(h); }
};
using UniqueSafeArray = UniqueResource<SafeArrayTraits>;

// A VARIANT cleared on scope exit (releasing the object, array or string it holds).
class UniqueVariant {
public:
    UniqueVariant() noexcept { ::VariantInit(&m_value); }
    ~UniqueVariant() { ::VariantClear(&m_value); }
    UniqueVariant(const UniqueVariant&) = delete;
    UniqueVariant& operator=(const UniqueVariant&) = delete;

    VARIANT* get() noexcept { return &m_value; }
    const VARIANT* get() const noexcept { return &m_value; }
    // For out-parameters: clears what is held first.
    VARIANT* put() noexcept {
        ::VariantClear(&m_value);
        return &m_value;
    }
    // Takes over a value whose owner gives it up; the source is left empty.
    void adopt(VARIANT& value) noexcept {
        ::VariantClear(&m_value);
        m_value = value;
        ::VariantInit(&value);
    }

private:
    VARIANT m_value;
};
