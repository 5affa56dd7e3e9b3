// RECT and POINT compared whole and printed by assertions, so that one
// EXPECT_EQ checks a rectangle and shows both values when they differ. The
// operators live in the global namespace, where the types are, so that
// argument-dependent lookup finds them from inside GoogleTest.
#pragma once

#include <windows.h>

#include <ostream>

bool operator==(const RECT& a, const RECT& b);
bool operator==(const POINT& a, const POINT& b);

// "(left, top, right, bottom) width x height", and "(x, y)".
std::ostream& operator<<(std::ostream& out, const RECT& rect);
std::ostream& operator<<(std::ostream& out, const POINT& point);
