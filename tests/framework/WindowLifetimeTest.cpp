// The HWND <-> object association: made at creation, gone with the window,
// and never owning windows that only wrap a foreign handle.
#include "framework/CButton.h"
#include "framework/CWnd.h"
#include "tests/support/WindowCreationRefusal.h"

#include <gtest/gtest.h>

namespace {

class CountingWindow : public CWnd {
public:
    int* destroyedCount = nullptr;

protected:
    void PostNcDestroy() override { ++*destroyedCount; }
};

RECT SmallRect() {
    return RECT{0, 0, 20, 20};
}

TEST(WindowLifetimeTest, DestructorDestroysAWindowThatStillExists) {
    HWND button;
    HWND plain;
    {
        CButton buttonObject;
        ASSERT_TRUE(buttonObject.Create(L"x", WS_POPUP, SmallRect(), nullptr, 0));
        button = buttonObject.m_hWnd;
        EXPECT_EQ(&buttonObject, CWnd::FromHandlePermanent(button));
        CWnd plainObject;
        ASSERT_TRUE(plainObject.CreateEx(0, L"STATIC", L"", WS_POPUP, SmallRect(), nullptr, 0));
        plain = plainObject.m_hWnd;
    }
    EXPECT_FALSE(::IsWindow(button));
    EXPECT_FALSE(::IsWindow(plain));
}

TEST(WindowLifetimeTest, WindowDestroyedFirstLeavesTheObjectDetached) {
    int destroyed = 0;
    CountingWindow window;
    window.destroyedCount = &destroyed;
    ASSERT_TRUE(window.CreateEx(0, L"STATIC", L"", WS_POPUP, SmallRect(), nullptr, 0));
    HWND hWnd = window.m_hWnd;
    ::DestroyWindow(hWnd);
    EXPECT_EQ(nullptr, window.m_hWnd);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hWnd));
    EXPECT_EQ(1, destroyed);
    // The object can make a new window afterwards.
    EXPECT_TRUE(window.CreateEx(0, L"STATIC", L"", WS_POPUP, SmallRect(), nullptr, 0));
}

TEST(WindowLifetimeTest, TemporaryWrapperNeverDestroysTheWindow) {
    HWND foreign = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr,
                                     nullptr, nullptr);
    ASSERT_NE(nullptr, foreign);
    CWnd* wrapper = CWnd::FromHandle(foreign);
    ASSERT_NE(nullptr, wrapper);
    EXPECT_EQ(foreign, wrapper->m_hWnd);
    EXPECT_EQ(wrapper, CWnd::FromHandle(foreign)) << "one wrapper per window";
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(foreign));
    // Temporaries go when the outermost message handled by a framework window returns.
    CButton button;
    ASSERT_TRUE(button.Create(L"", WS_POPUP, SmallRect(), nullptr, 0));
    button.SendMessage(WM_NULL);
    EXPECT_TRUE(::IsWindow(foreign));
    EXPECT_EQ(nullptr, CWnd::FromHandle(nullptr));
    ::DestroyWindow(foreign);
}

TEST(WindowLifetimeTest, CreationThatFailsLeavesNoAssociation) {
    CButton button;
    // A child without a parent cannot be created.
    EXPECT_FALSE(button.Create(L"", WS_CHILD, SmallRect(), nullptr, 5));
    EXPECT_EQ(nullptr, button.m_hWnd);
}

TEST(WindowLifetimeTest, CreationRefusedByAnotherHookLeavesNoAssociation) {
    CButton button;
    {
        // Installed before the creation, so it runs after the framework's own hook.
        WindowCreationRefusal refusal;
        ASSERT_TRUE(refusal.Installed());
        EXPECT_FALSE(button.Create(L"", WS_POPUP, SmallRect(), nullptr, 0));
    }
    EXPECT_EQ(nullptr, button.m_hWnd);
    EXPECT_TRUE(button.Create(L"", WS_POPUP, SmallRect(), nullptr, 0)) << "usable again";
}

TEST(WindowLifetimeTest, ManyButtonsComeAndGoCleanly) {
    CButton parent;
    RECT rect = {0, 0, 200, 200};
    ASSERT_TRUE(parent.Create(L"", WS_POPUP, rect, nullptr, 0));
    for (int round = 0; round < 3; ++round) {
        CButton* buttons[50] = {};
        for (int i = 0; i < 50; ++i) {
            buttons[i] = new CButton;
            ASSERT_TRUE(
                buttons[i]->Create(L"b", WS_CHILD | WS_VISIBLE, SmallRect(), &parent, 300 + i));
        }
        EXPECT_EQ(buttons[17], parent.GetDlgItem(317));
        for (int i = 0; i < 50; i += 2) {
            buttons[i]->DestroyWindow(); // some destroyed first, some by delete
        }
        for (CButton* b : buttons) {
            delete b;
        }
        EXPECT_EQ(nullptr, ::GetWindow(parent, GW_CHILD));
    }
}

} // namespace
