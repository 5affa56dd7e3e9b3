// The HWND -> object map under growth and deletion: every mapped window stays
// findable however the probe runs were shifted.
#include "framework/CWnd.h"
#include "framework/WindowMap.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

HWND FakeHandle(uintptr_t i) {
    return reinterpret_cast<HWND>(0x10000 + 2 * i);
}
CWnd* FakeObject(uintptr_t i) {
    return reinterpret_cast<CWnd*>(0x1000 + 4 * i);
}

TEST(WindowMapTest, FindsEveryWindowThroughGrowthAndDeletion) {
    const uintptr_t n = 1000;
    WindowMap map;
    for (uintptr_t i = 0; i < n; ++i) {
        ASSERT_TRUE(map.Insert(FakeHandle(i), FakeObject(i))) << i;
    }
    EXPECT_FALSE(map.Insert(FakeHandle(7), FakeObject(8))) << "mapped once only";
    EXPECT_FALSE(map.Insert(nullptr, FakeObject(1)));
    EXPECT_EQ(n, map.Count());
    for (uintptr_t i = 0; i < n; i += 3) {
        map.Erase(FakeHandle(i));
    }
    map.Erase(FakeHandle(n + 5)); // not mapped: nothing happens
    for (uintptr_t i = 0; i < n; ++i) {
        EXPECT_EQ(i % 3 == 0 ? nullptr : FakeObject(i), map.Find(FakeHandle(i))) << i;
    }
    for (uintptr_t i = 0; i < n; ++i) {
        map.Erase(FakeHandle(i));
    }
    EXPECT_EQ(0u, map.Count());
    EXPECT_EQ(nullptr, map.Find(FakeHandle(1)));
    EXPECT_TRUE(map.Insert(FakeHandle(1), FakeObject(1)));
    EXPECT_EQ(FakeObject(1), map.Find(FakeHandle(1)));
}

} // namespace
