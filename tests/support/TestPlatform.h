#pragma once

#include <string>

// The platform this test program runs on, named as ctest names it: "win32"
// (32-bit Windows) or "win64" (64-bit Windows, where 32-bit programs run
// under WoW64). Platform facts (folders, registry views) are stated per
// platform, as literal rows chosen by this name. When the harness says which
// platform it meant (WINEARCH), a prefix of the other bitness fails the test.
std::string TestPlatform();
