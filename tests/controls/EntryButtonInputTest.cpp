// Keys, clicks and hover: the button turns keys into messages posted to its
// parent and keeps every key-down from the system's button procedure; it
// tracks the pointer against its window region through the mouse capture;
// a double click is two clicks.
#include "ControlsTestHost.h"

#include "tests/support/ProfileFile.h"
#include "tests/support/ScopeExit.h"
#include "tests/support/Waiting.h"

#include <algorithm>
#include <vector>

namespace {

const UINT kId = 232;
const int kWidth = 200;
const int kHeight = 70;
const POINT kCentre = {100, 35};
const POINT kFarOutside = {kWidth + 40, 35};
// Inside the bounding box, outside the rounded upper-left corner.
const POINT kCorner = {1, 1};

LPARAM At(POINT point) {
    return MAKELPARAM(point.x, point.y);
}

bool Contains(const std::vector<UINT>& messages, UINT message) {
    return std::find(messages.begin(), messages.end(), message) != messages.end();
}

void SetShiftDown(bool down) {
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_SHIFT] = down ? 0x80 : 0;
    keys[VK_LSHIFT] = down ? 0x80 : 0;
    ::SetKeyboardState(keys);
}

class ButtonInputTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Corners with a 30-pixel ellipse, so that kCorner lies well outside.
        ASSERT_TRUE(
            CreateRoundButton(m_button, m_host, L"Entry", 10, 10, kWidth, kHeight, 30, kId));
        m_button.UpdateWindow();
        m_button.RecordButtonProcedure();
        ASSERT_EQ(FALSE, ::PtInRegion(Region(), kCorner.x, kCorner.y)) << "test shape";
        m_host.TakePosted();
        m_host.received.clear();
    }
    void TearDown() override {
        SetShiftDown(false);
        ::ReleaseCapture();
    }

    HRGN Region() {
        m_region.reset(::CreateRectRgn(0, 0, 0, 0));
        ::GetWindowRgn(m_button, m_region.get());
        return m_region.get();
    }
    void KeyDown(UINT key, LPARAM flags = 1) { m_button.SendMessage(WM_KEYDOWN, key, flags); }
    void Move(POINT point) { m_button.SendMessage(WM_MOUSEMOVE, 0, At(point)); }
    void Down(POINT point) { m_button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(point)); }
    void Up(POINT point) { m_button.SendMessage(WM_LBUTTONUP, 0, At(point)); }
    std::vector<HostMessage> SentClicks() const {
        std::vector<HostMessage> clicks;
        for (const HostMessage& m : m_host.received) {
            if (m.message == WM_COMMAND && m.sent) {
                clicks.push_back(m);
            }
        }
        return clicks;
    }
    bool HoldsCapture() const { return ::GetCapture() == m_button.m_hWnd; }
    // The three pointer flags, and whether the button really holds the capture.
    void ExpectState(bool hover, bool captured, bool pressed) {
        EXPECT_EQ(hover, m_button.m_bHover != FALSE) << "hover";
        EXPECT_EQ(captured, m_button.m_bCaptured != FALSE) << "captured";
        EXPECT_EQ(captured, HoldsCapture()) << "GetCapture";
        EXPECT_EQ(pressed, m_button.m_bPressed != FALSE) << "pressed";
    }

    ScratchProfileFile m_profile;
    HostWindow m_host;
    ProbeButton m_button;
    UniqueRegion m_region;
};

// --- Keys ---------------------------------------------------------------------

TEST_F(ButtonInputTest, KeysPostTheirMessageToTheParentAndNeverReachTheButtonProcedure) {
    const struct {
        const char* name;
        UINT key;
        bool shift;
        UINT message;
        WPARAM wParam;
        bool lParamIsButton; // otherwise lParam is 0
    } rows[] = {
        {"PageDown", VK_NEXT, false, WM_NEXTDLGCTL, 0, false},
        {"Down", VK_DOWN, false, WM_NEXTDLGCTL, 0, false},
        {"Right", VK_RIGHT, false, WM_NEXTDLGCTL, 0, false},
        {"PageUp", VK_PRIOR, false, WM_NEXTDLGCTL, 1, false},
        {"Up", VK_UP, false, WM_NEXTDLGCTL, 1, false},
        {"Left", VK_LEFT, false, WM_NEXTDLGCTL, 1, false},
        {"Tab", VK_TAB, false, WM_NEXTDLGCTL, 0, false},
        {"ShiftTab", VK_TAB, true, WM_NEXTDLGCTL, 1, false},
        {"ShiftDown", VK_DOWN, true, WM_NEXTDLGCTL, 0, false},
        {"Enter", VK_RETURN, false, WM_COMMAND, MAKEWPARAM(kId, BN_CLICKED), true},
        {"Space", VK_SPACE, false, WM_COMMAND, MAKEWPARAM(kId, BN_CLICKED), true},
        {"Escape", VK_ESCAPE, false, WM_CLOSE, 0, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        SetShiftDown(row.shift);
        KeyDown(row.key);
        const std::vector<MSG> posted = m_host.TakePosted();
        ASSERT_EQ(1u, posted.size());
        EXPECT_EQ(row.message, posted[0].message);
        EXPECT_EQ(row.wParam, posted[0].wParam);
        EXPECT_EQ(row.lParamIsButton ? reinterpret_cast<LPARAM>(m_button.m_hWnd) : 0,
                  posted[0].lParam);
        EXPECT_TRUE(m_host.received.empty()) << "posted, never sent";
        EXPECT_FALSE(Contains(m_button.buttonProcedureMessages, WM_KEYDOWN));
    }
}

TEST_F(ButtonInputTest, AutoRepeatedKeyDownsPostAgain) {
    const LPARAM repeated = (1 << 30) | 1; // the key was already down
    KeyDown(VK_RETURN);
    KeyDown(VK_RETURN, repeated);
    KeyDown(VK_RETURN, repeated);
    KeyDown(VK_DOWN, repeated);
    std::vector<MSG> posted = m_host.TakePosted();
    ASSERT_EQ(4u, posted.size());
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(static_cast<UINT>(WM_COMMAND), posted[i].message);
        EXPECT_EQ(MAKEWPARAM(kId, BN_CLICKED), posted[i].wParam);
    }
    EXPECT_EQ(static_cast<UINT>(WM_NEXTDLGCTL), posted[3].message);
}

TEST_F(ButtonInputTest, LettersDigitsAndOtherKeysPostNothingAndNeverReachTheButtonProcedure) {
    std::vector<UINT> keys = {VK_F1, VK_HOME, VK_END, VK_DELETE, VK_INSERT, VK_SHIFT};
    for (UINT key = 'A'; key <= 'Z'; ++key) {
        keys.push_back(key);
    }
    for (UINT key = '0'; key <= '9'; ++key) {
        keys.push_back(key);
    }
    for (UINT key : keys) {
        KeyDown(key);
        EXPECT_TRUE(m_host.TakePosted().empty()) << "key " << key;
    }
    EXPECT_TRUE(m_host.received.empty());
    EXPECT_FALSE(Contains(m_button.buttonProcedureMessages, WM_KEYDOWN));
}

// Through the dialog manager, as in the menu's modal loop: the keys it would
// act on itself (focus moves, default and cancel buttons) reach the button.
TEST_F(ButtonInputTest, DialogManagerHandsNavigationKeysToTheButton) {
    ProbeButton second;
    ASSERT_TRUE(CreateRoundButton(second, m_host, L"Second", 10, 90, kWidth, kHeight, 30, kId + 1));
    EXPECT_EQ(static_cast<LRESULT>(DLGC_WANTALLKEYS), m_button.SendMessage(WM_GETDLGCODE));
    m_button.SetFocus();
    ASSERT_EQ(m_button.m_hWnd, ::GetFocus());
    const UINT keys[] = {VK_TAB, VK_DOWN, VK_RETURN, VK_ESCAPE};
    const UINT expected[] = {WM_NEXTDLGCTL, WM_NEXTDLGCTL, WM_COMMAND, WM_CLOSE};
    for (int i = 0; i < 4; ++i) {
        MSG msg = {m_button.m_hWnd, WM_KEYDOWN, keys[i], 1, ::GetTickCount(), {0, 0}};
        EXPECT_TRUE(::IsDialogMessageW(m_host, &msg));
        std::vector<MSG> posted = m_host.TakePosted();
        ASSERT_EQ(1u, posted.size()) << "key " << keys[i];
        EXPECT_EQ(expected[i], posted[0].message);
        EXPECT_EQ(m_button.m_hWnd, ::GetFocus()) << "the dialog manager moved nothing";
    }
    EXPECT_TRUE(m_host.received.empty()) << "no IDOK or IDCANCEL from the dialog manager";
}

// --- Hover ----------------------------------------------------------------------

// Away, Over and Pressed, walked through the transitions of the pointer.
TEST_F(ButtonInputTest, HoverFollowsThePointerAgainstTheWindowRegion) {
    int paints = m_button.paints;
    Move(kCentre);
    ExpectState(true, true, false);
    EXPECT_EQ(paints + 1, m_button.paints) << "painted at once";
    Move(POINT{kCentre.x + 5, kCentre.y + 3});
    ExpectState(true, true, false);
    EXPECT_EQ(paints + 1, m_button.paints) << "no redraw while staying over it";

    Move(kCorner);
    ExpectState(false, false, false);
    EXPECT_EQ(paints + 2, m_button.paints);
    // Outside while away: no capture, but a redraw all the same.
    Move(kCorner);
    Move(kFarOutside);
    ExpectState(false, false, false);
    EXPECT_EQ(paints + 4, m_button.paints);
}

TEST_F(ButtonInputTest, PressSuspendsHoverTrackingUntilTheRelease) {
    Move(kCentre);
    Down(kCentre);
    ExpectState(true, true, true);
    Move(kFarOutside);
    Move(kCorner);
    ExpectState(true, true, true);

    int paints = m_button.paints;
    Up(kFarOutside);
    EXPECT_TRUE(SentClicks().empty());
    ExpectState(false, false, false);
    EXPECT_LT(paints, m_button.paints);

    Down(kCentre);
    ExpectState(false, true, true);
    Move(POINT{kCentre.x + 1, kCentre.y});
    ExpectState(false, true, true);
}

TEST_F(ButtonInputTest, ReleaseInsideClicksAndKeepsTheButtonOver) {
    Move(kCentre);
    Down(kCentre);
    Up(kCentre);
    std::vector<HostMessage> clicks = SentClicks();
    ASSERT_EQ(1u, clicks.size());
    EXPECT_EQ(MAKEWPARAM(kId, BN_CLICKED), clicks[0].wParam);
    EXPECT_EQ(reinterpret_cast<LPARAM>(m_button.m_hWnd), clicks[0].lParam);
    ExpectState(true, true, false); // the capture released and taken again
}

TEST_F(ButtonInputTest, DoubleClickIsTwoClicks) {
    Move(kCentre);
    Down(kCentre);
    Up(kCentre);
    m_button.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, At(kCentre));
    EXPECT_FALSE(m_button.m_bPressed) << "the second press is not the handler's";
    EXPECT_EQ(2, std::count(m_button.buttonProcedureMessages.begin(),
                            m_button.buttonProcedureMessages.end(), WM_LBUTTONDOWN));
    EXPECT_FALSE(Contains(m_button.buttonProcedureMessages, WM_LBUTTONDBLCLK));
    Move(POINT{kCentre.x + 3, kCentre.y + 2});
    EXPECT_TRUE(m_button.m_bHover);
    Up(kCentre);
    std::vector<HostMessage> clicks = SentClicks();
    ASSERT_EQ(2u, clicks.size());
    for (const HostMessage& click : clicks) {
        EXPECT_EQ(MAKEWPARAM(kId, BN_CLICKED), click.wParam);
    }
}

// The second press of a double click is not the handler's, so the pointer is
// still tracked: leaving the shape ends the hover look and lets go of the
// capture even though the left button is down.
TEST_F(ButtonInputTest, SecondPressOfADoubleClickStillTracksHover) {
    Move(kCentre);
    Down(kCentre);
    Up(kCentre);
    m_button.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, At(kCentre));
    Move(kCorner);
    ExpectState(false, false, false);
}

// The same with the system's own input: two quick clicks of the left button
// over the button.
TEST_F(ButtonInputTest, RealDoubleClickGivesTwoCommands) {
    POINT screen = kCentre;
    m_button.ClientToScreen(&screen);
    ScopeExit parkPointer([] { ::SetCursorPos(1020, 760); });
    ::SetCursorPos(screen.x, screen.y);
    PumpMessages();
    INPUT inputs[4] = {};
    for (int i = 0; i < 4; ++i) {
        inputs[i].type = INPUT_MOUSE;
        inputs[i].mi.dwFlags = i % 2 == 0 ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    }
    ASSERT_EQ(4u, ::SendInput(4, inputs, sizeof(INPUT)));
    WaitUntil(
        [&] {
            PumpMessages();
            return SentClicks().size() >= 2;
        },
        5000);
    PumpMessages();
    EXPECT_EQ(2u, SentClicks().size());
}

} // namespace
