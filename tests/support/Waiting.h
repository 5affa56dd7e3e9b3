#pragma once

#include <windows.h>

#include <functional>

// How the tests wait. A limit only bounds a failure: every wait returns as
// soon as what it waits for is seen, so a generous limit costs nothing on a
// passing run. Where Wine runs emulated everything takes several times
// longer, so every limit is multiplied by one factor, the environment
// variable TEST_TIME_SCALE (tools/dev sets it; 1 when unset).
DWORD TimeLimit(DWORD ms);

// Polls condition until it holds or TimeLimit(limitMs) has passed.
bool WaitUntil(const std::function<bool()>& condition, DWORD limitMs);
