// RECT, POINT and SIZE compared whole and printed by assertions, so that one
// EXPECT_EQ checks a rectangle and shows both values when they differ. The
// operators live in the global namespace, where the types are, so that
// argument-dependent lookup finds them from inside GoogleTest.
#pragma once

#include <windows.h>

#include <ostream>

bool operator==(const RECT& a, const RECT& b);
bool operator!=(const RECT& a, const RECT& b);
bool operator==(const POINT& a, const POINT& b);
bool operator!=(const POINT& a, const POINT& b);
bool operator==(const SIZE& a, const SIZE& b);
bool operator!=(const SIZE& a, const SIZE& b);

// "(left, top, right, bottom) width x height"
void PrintTo(const RECT& rect, std::ostream* out);
void PrintTo(const POINT& point, std::ostream* out);
void PrintTo(const SIZE& size, std::ostream* out);
// The same text, for messages streamed into an assertion.
std::ostream& operator<<(std::ostream& out, const RECT& rect);
