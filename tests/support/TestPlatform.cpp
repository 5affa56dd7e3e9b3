#include "TestPlatform.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

std::string TestPlatform() {
    BOOL wow64 = FALSE;
    ::IsWow64Process(::GetCurrentProcess(), &wow64);
    const std::string platform = sizeof(void*) == 8 || wow64 ? "win64" : "win32";
    const char* meant = std::getenv("WINEARCH");
    EXPECT_TRUE(meant == nullptr || platform == meant)
        << "the test runs on " << platform << " in a prefix meant for " << meant;
    return platform;
}
