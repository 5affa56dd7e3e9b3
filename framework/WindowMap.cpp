#include "framework/WindowMap.h"

#include <cstdint>
#include <new>

WindowMap::~WindowMap() {
    delete[] m_slots;
    // Left empty rather than dangling, for a window object that a static
    // destructor of another file still tears down after this one.
    m_slots = nullptr;
    m_capacity = 0;
    m_count = 0;
}

size_t WindowMap::Home(HWND hWnd) const {
    // Fibonacci hashing spreads the small, regular handle values.
    auto key = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(hWnd));
    return static_cast<size_t>(key * 2654435769u) & (m_capacity - 1);
}

bool WindowMap::Grow() {
    size_t capacity = m_capacity == 0 ? 64 : m_capacity * 2;
    Slot* slots = new (std::nothrow) Slot[capacity]();
    if (slots == nullptr) {
        return false;
    }
    Slot* old = m_slots;
    size_t oldCapacity = m_capacity;
    m_slots = slots;
    m_capacity = capacity;
    m_count = 0;
    for (size_t i = 0; i < oldCapacity; ++i) {
        if (old[i].key != nullptr) {
            Insert(old[i].key, old[i].value);
        }
    }
    delete[] old;
    return true;
}

bool WindowMap::Insert(HWND hWnd, CWnd* wnd) {
    if (hWnd == nullptr || Find(hWnd) != nullptr) {
        return false;
    }
    // At most half full, so probe runs stay short.
    if ((m_count + 1) * 2 > m_capacity && !Grow()) {
        return false;
    }
    size_t i = Home(hWnd);
    while (m_slots[i].key != nullptr) {
        i = (i + 1) & (m_capacity - 1);
    }
    m_slots[i] = Slot{hWnd, wnd};
    ++m_count;
    return true;
}

CWnd* WindowMap::Find(HWND hWnd) const {
    if (hWnd == nullptr || m_count == 0) {
        return nullptr;
    }
    for (size_t i = Home(hWnd); m_slots[i].key != nullptr; i = (i + 1) & (m_capacity - 1)) {
        if (m_slots[i].key == hWnd) {
            return m_slots[i].value;
        }
    }
    return nullptr;
}

void WindowMap::Erase(HWND hWnd) {
    if (hWnd == nullptr || m_count == 0) {
        return;
    }
    size_t mask = m_capacity - 1;
    size_t hole = Home(hWnd);
    while (m_slots[hole].key != hWnd) {
        if (m_slots[hole].key == nullptr) {
            return;
        }
        hole = (hole + 1) & mask;
    }
    // Backward-shift deletion: move later members of the probe run into the
    // hole when their home lies at or before it, so no lookup ever stops
    // early at an emptied slot.
    for (size_t next = (hole + 1) & mask; m_slots[next].key != nullptr; next = (next + 1) & mask) {
        size_t home = Home(m_slots[next].key);
        if (((next - home) & mask) >= ((next - hole) & mask)) {
            m_slots[hole] = m_slots[next];
            hole = next;
        }
    }
    m_slots[hole] = Slot{nullptr, nullptr};
    --m_count;
}
