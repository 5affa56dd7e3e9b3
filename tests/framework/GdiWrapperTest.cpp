// The GDI wrappers own what they create and free it exactly once; borrowed
// DCs are left alone.
#include "framework/CBitmap.h"
#include "framework/CDC.h"
#include "framework/CWinApp.h"

#include <gtest/gtest.h>

namespace {

TEST(GdiWrapperTest, BitmapIsDeletedWithItsObject) {
    WindowDc screenDc(nullptr);
    CDC screen(screenDc.get());
    HGDIOBJ handle;
    {
        CBitmap bitmap;
        ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&screen, 8, 4));
        handle = bitmap.GetSafeHandle();
        EXPECT_EQ(static_cast<DWORD>(OBJ_BITMAP), ::GetObjectType(handle));
        EXPECT_FALSE(bitmap.Attach(::CreateSolidBrush(0))) << "already owns one";
    }
    EXPECT_EQ(0u, ::GetObjectType(handle));
}

TEST(GdiWrapperTest, DetachGivesUpOwnership) {
    HGDIOBJ handle;
    {
        CGdiObject object;
        ASSERT_TRUE(object.Attach(::CreateSolidBrush(RGB(1, 2, 3))));
        handle = object.Detach();
    }
    EXPECT_EQ(static_cast<DWORD>(OBJ_BRUSH), ::GetObjectType(handle));
    ::DeleteObject(handle);
}

TEST(GdiWrapperTest, MemoryDcIsOwnedBorrowedDcIsNot) {
    HDC screen = ::GetDC(nullptr);
    HDC memory;
    {
        CDC borrowed(screen);
        CDC owned;
        ASSERT_TRUE(owned.CreateCompatibleDC(&borrowed));
        memory = owned.GetSafeHdc();
        EXPECT_EQ(static_cast<DWORD>(OBJ_MEMDC), ::GetObjectType(memory));
    }
    EXPECT_EQ(0u, ::GetObjectType(memory));
    EXPECT_EQ(static_cast<DWORD>(OBJ_DC), ::GetObjectType(screen));
    ::ReleaseDC(nullptr, screen);
}

class QuietApp : public CWinApp {
public:
    bool exited = false;
    BOOL InitInstance() override { return FALSE; }
    int ExitInstance() override {
        exited = true;
        return 7;
    }
};

TEST(WinAppTest, StartUpFormsNamesAndEndsWhenInitInstanceSaysFalse) {
    QuietApp app;
    EXPECT_EQ(&app, AfxGetApp());
    EXPECT_EQ(7, app.WinMain(::GetModuleHandleW(nullptr)));
    EXPECT_TRUE(app.exited);
    EXPECT_STREQ(L"framework_tests", app.m_pszExeName);
    EXPECT_STREQ(L"framework_tests.INI", app.m_pszProfileName);
    EXPECT_EQ(::GetModuleHandleW(nullptr), app.m_hInstance);
}

} // namespace
