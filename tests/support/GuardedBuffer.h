#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

// A wchar_t buffer placed at the very end of a committed page and followed by
// a PAGE_NOACCESS page: reading or writing even one unit past its end faults,
// so an overrun shows up as a crash of the test instead of going unnoticed.
class GuardedBuffer {
public:
    explicit GuardedBuffer(size_t units = MAX_PATH);
    ~GuardedBuffer();
    GuardedBuffer(const GuardedBuffer&) = delete;
    GuardedBuffer& operator=(const GuardedBuffer&) = delete;

    wchar_t* get() const { return m_buffer; }
    size_t units() const { return m_units; }

    // Fills the whole buffer with zeros, then copies text and its terminator
    // (text must be shorter than the buffer).
    void Assign(const std::wstring& text);
    // Fills every unit with text repeated, leaving no terminator at all.
    void FillUnterminated(const std::wstring& text);
    // The buffer's text up to its first NUL, never reading past the buffer.
    std::wstring Text() const;
    bool IsTerminated() const;

private:
    void* m_pages = nullptr;
    wchar_t* m_buffer = nullptr;
    size_t m_units;
};
