// Message maps: derived tables first, then the base chain, then the window's
// original procedure; command entries match ids and notification code 0 only;
// Default() goes through the virtual DefWindowProc.
#include "framework/CButton.h"
#include "framework/CWnd.h"
#include "tests/support/MessagePump.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const UINT kFirst = WM_APP + 1;
const UINT kSecond = WM_APP + 2;
const UINT kUnlisted = WM_APP + 3;

// Messages that reach the window class's own procedure, i.e. the "original
// procedure" behind the subclassing.
std::vector<UINT> g_classProcMessages;

LRESULT CALLBACK RecordingClassProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_APP || message == WM_COMMAND) {
        g_classProcMessages.push_back(message);
        return message == WM_COMMAND ? 0 : 1000 + (message - WM_APP);
    }
    return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

const wchar_t kRecordingClass[] = L"FrameworkTestRecording";

void RegisterRecordingClass() {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = RecordingClassProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kRecordingClass;
    ::RegisterClassW(&wc);
}

class BaseWindow : public CWnd {
public:
    std::vector<std::string> calls;

protected:
    LRESULT OnFirst(WPARAM, LPARAM) {
        calls.push_back("base first");
        return 1;
    }
    LRESULT OnSecond(WPARAM wParam, LPARAM lParam) {
        calls.push_back("base second");
        return static_cast<LRESULT>(wParam + lParam);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(BaseWindow, CWnd)
ON_MESSAGE(kFirst, OnFirst)
ON_MESSAGE(kSecond, OnSecond)
END_MESSAGE_MAP()

class DerivedWindow : public BaseWindow {
public:
    std::vector<UINT> commands;

protected:
    LRESULT OnFirstAgain(WPARAM, LPARAM) {
        calls.push_back("derived first");
        return 11;
    }
    void OnSave() { commands.push_back(100); }
    void OnEntry(UINT id) { commands.push_back(id); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DerivedWindow, BaseWindow)
ON_MESSAGE(kFirst, OnFirstAgain)
ON_COMMAND(100, OnSave)
ON_COMMAND_RANGE(231, 430, OnEntry)
END_MESSAGE_MAP()

class MessageMapTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterRecordingClass();
        g_classProcMessages.clear();
        RECT rect = {0, 0, 50, 50};
        ASSERT_TRUE(m_window.CreateEx(0, kRecordingClass, L"map", WS_POPUP, rect, nullptr, 0));
    }
    DerivedWindow m_window;
};

TEST_F(MessageMapTest, DerivedEntryWinsOverBaseEntry) {
    EXPECT_EQ(11, m_window.SendMessage(kFirst));
    EXPECT_EQ(std::vector<std::string>{"derived first"}, m_window.calls);
    EXPECT_TRUE(g_classProcMessages.empty());
}

TEST_F(MessageMapTest, BaseEntryHandlesWhatDerivedDoesNotList) {
    EXPECT_EQ(7, m_window.SendMessage(kSecond, 3, 4));
    EXPECT_EQ(std::vector<std::string>{"base second"}, m_window.calls);
    EXPECT_TRUE(g_classProcMessages.empty());
}

TEST_F(MessageMapTest, UnlistedMessageReachesTheOriginalProcedure) {
    EXPECT_EQ(1003, m_window.SendMessage(kUnlisted));
    EXPECT_EQ(std::vector<UINT>{kUnlisted}, g_classProcMessages);
    EXPECT_TRUE(m_window.calls.empty());
}

TEST_F(MessageMapTest, CommandEntriesMatchIdRangeAndCodeZeroOnly) {
    m_window.SendMessage(WM_COMMAND, MAKEWPARAM(100, 0), 0);
    m_window.SendMessage(WM_COMMAND, MAKEWPARAM(231, 0), 0);
    m_window.SendMessage(WM_COMMAND, MAKEWPARAM(430, 0), 0);
    m_window.SendMessage(WM_COMMAND, MAKEWPARAM(431, 0), 0);
    m_window.SendMessage(WM_COMMAND, MAKEWPARAM(230, 0), 0);
    m_window.SendMessage(WM_COMMAND, MAKEWPARAM(232, BN_SETFOCUS), 0);
    EXPECT_EQ((std::vector<UINT>{100, 231, 430}), m_window.commands);
    // The three that matched no entry went on to the original procedure.
    EXPECT_EQ((std::vector<UINT>{WM_COMMAND, WM_COMMAND, WM_COMMAND}), g_classProcMessages);
}

TEST_F(MessageMapTest, PostedMessagesAreDispatchedThroughTheMap) {
    m_window.PostMessage(WM_COMMAND, MAKEWPARAM(300, 0), 0);
    PumpMessages();
    EXPECT_EQ(std::vector<UINT>{300}, m_window.commands);
}

// Default() hands the current message to the virtual DefWindowProc, so an
// override can rewrite what the original procedure receives.
class RewritingWindow : public CWnd {
protected:
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        return CWnd::DefWindowProc(message == kFirst ? kSecond : message, wParam, lParam);
    }
    LRESULT OnFirst(WPARAM, LPARAM) { return Default() + 1; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(RewritingWindow, CWnd)
ON_MESSAGE(kFirst, OnFirst)
END_MESSAGE_MAP()

TEST(DefaultProcessingTest, DefaultGoesThroughTheVirtualDefWindowProc) {
    RegisterRecordingClass();
    g_classProcMessages.clear();
    RewritingWindow window;
    RECT rect = {0, 0, 10, 10};
    ASSERT_TRUE(window.CreateEx(0, kRecordingClass, L"", WS_POPUP, rect, nullptr, 0));
    EXPECT_EQ(1003, window.SendMessage(kFirst));
    EXPECT_EQ(std::vector<UINT>{kSecond}, g_classProcMessages);
}

// A button subclassed at creation: PreSubclassWindow comes before
// WM_NCCREATE and WM_CREATE, and the style it adds is in force.
std::vector<std::string> g_creationEvents;

class ProbeButton : public CButton {
public:
    int drawCount = 0;
    UINT lastDrawnId = 0;
    void DrawItem(LPDRAWITEMSTRUCT item) override {
        ++drawCount;
        lastDrawnId = item->CtlID;
    }

protected:
    void PreSubclassWindow() override {
        g_creationEvents.push_back("PreSubclassWindow");
        ModifyStyle(0, BS_OWNERDRAW);
        CButton::PreSubclassWindow();
    }
    LRESULT OnNcCreate(WPARAM, LPARAM) {
        g_creationEvents.push_back("WM_NCCREATE");
        return Default();
    }
    int OnCreate(LPCREATESTRUCTW cs) {
        g_creationEvents.push_back("WM_CREATE");
        return CButton::OnCreate(cs);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ProbeButton, CButton)
ON_MESSAGE(WM_NCCREATE, OnNcCreate)
ON_WM_CREATE()
END_MESSAGE_MAP()

class ParentWindow : public CWnd {
public:
    std::vector<UINT> clicks;

protected:
    void OnClicked(UINT id) { clicks.push_back(id); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ParentWindow, CWnd)
ON_COMMAND_RANGE(1, 2000, OnClicked)
END_MESSAGE_MAP()

class ButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterRecordingClass();
        g_creationEvents.clear();
        RECT parentRect = {100, 100, 300, 200};
        ASSERT_TRUE(m_parent.CreateEx(0, kRecordingClass, L"parent", WS_POPUP | WS_VISIBLE,
                                      parentRect, nullptr, 0));
        RECT buttonRect = {10, 10, 90, 40};
        ASSERT_TRUE(m_button.Create(L"Probe", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, buttonRect,
                                    &m_parent, 1234));
    }
    ParentWindow m_parent;
    ProbeButton m_button;
};

TEST_F(ButtonTest, PreSubclassWindowRunsBeforeCreationMessages) {
    EXPECT_EQ((std::vector<std::string>{"PreSubclassWindow", "WM_NCCREATE", "WM_CREATE"}),
              g_creationEvents);
    EXPECT_EQ(static_cast<DWORD>(BS_OWNERDRAW), m_button.GetStyle() & BS_TYPEMASK);
    wchar_t className[32] = {};
    ::GetClassNameW(m_button, className, 32);
    EXPECT_STREQ(L"Button", className);
}

TEST_F(ButtonTest, DrawItemIsReflectedFromTheParent) {
    m_button.Invalidate();
    m_button.UpdateWindow();
    EXPECT_GE(m_button.drawCount, 1);
    EXPECT_EQ(1234u, m_button.lastDrawnId);
}

TEST_F(ButtonTest, SubclassedButtonStillNotifiesItsParentOfAClick) {
    m_button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    m_button.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(std::vector<UINT>{1234}, m_parent.clicks);
    // Released outside the button: no click.
    m_button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    m_button.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(500, 5));
    EXPECT_EQ(std::vector<UINT>{1234}, m_parent.clicks);
}

} // namespace
