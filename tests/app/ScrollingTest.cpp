// Twenty entries do not fit: the menu is as high as the work area less 25,
// shows as many entries as fit between the two scroll buttons, and the keys
// walk the focus down to the last entry, scrolling one entry per step, and
// back up again.
#include "MenuTest.h"
#include "media_menu/res/resource.h"

#include <ostream>

namespace {

const int kPitch = 71;
const int kEntryCount = 20;

// Ends the dialog in WM_INITDIALOG with the header marker's height: a
// dialog ended there is destroyed without ever being shown.
INT_PTR CALLBACK MeasureHeaderMarker(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) {
        RECT rect = {};
        ::GetWindowRect(::GetDlgItem(dialog, IDC_HEADER_MARKER), &rect);
        ::EndDialog(dialog, rect.bottom - rect.top);
    }
    return FALSE;
}

// The height in pixels of the header marker as the menu's dialog template
// makes it, before the layout resizes it: the same template is linked into
// this program.
int TemplateHeaderHeight() {
    return static_cast<int>(::DialogBoxParamW(::GetModuleHandleW(nullptr),
                                              MAKEINTRESOURCEW(IDD_MEDIA_MENU), nullptr,
                                              MeasureHeaderMarker, 0));
}

RECT WorkArea() {
    RECT area = {};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

// What the user sees: the focus, the visible buttons, and the client top of
// each visible entry in menu order.
struct View {
    int focus = 0;
    std::vector<int> visible;
    std::vector<int> entryTops;

    bool operator==(const View& other) const {
        return focus == other.focus && visible == other.visible && entryTops == other.entryTops;
    }
};

void PrintTo(const View& view, std::ostream* out) {
    *out << "focus " << view.focus << ", visible buttons";
    for (int id : view.visible) {
        *out << ' ' << id;
    }
    *out << ", entry tops";
    for (int top : view.entryTops) {
        *out << ' ' << top;
    }
}

// The menu as the keys should leave it: the first visible entry, the focus.
class ScrollModel {
public:
    ScrollModel(int count, int span, int upTop) : m_count(count), m_span(span), m_upTop(upTop) {}

    void Next() {
        if (m_focus == kScrollUpId) {
            m_focus = EntryId(m_first);
        } else if (m_focus == kScrollDownId) {
            ++m_first;
            if (End() == m_count) {
                m_focus = EntryId(m_count - 1);
            }
        } else if (Index(m_focus) < End() - 1) {
            ++m_focus;
        } else if (End() < m_count) {
            m_focus = kScrollDownId;
        }
    }

    void Previous() {
        if (m_focus == kScrollDownId) {
            m_focus = EntryId(End() - 1);
        } else if (m_focus == kScrollUpId) {
            --m_first;
            if (m_first == 0) {
                m_focus = EntryId(0);
            }
        } else if (Index(m_focus) > m_first) {
            --m_focus;
        } else if (m_first > 0) {
            m_focus = kScrollUpId;
        }
    }

    View Expected() const {
        View view;
        view.focus = m_focus;
        for (int i = m_first; i < End(); ++i) {
            view.visible.push_back(EntryId(i));
            view.entryTops.push_back(m_upTop + kPitch * (i - m_first + 1));
        }
        if (m_first > 0) {
            view.visible.push_back(kScrollUpId);
        }
        if (End() < m_count) {
            view.visible.push_back(kScrollDownId);
        }
        return view;
    }

    bool AtLastEntry() const { return m_focus == EntryId(m_count - 1); }
    bool AtFirstEntry() const { return m_focus == EntryId(0); }

private:
    static int EntryId(int index) { return kFirstEntryId + index; }
    static int Index(int id) { return id - kFirstEntryId; }
    int End() const { return m_first + m_span; }

    int m_count;
    int m_span;
    int m_upTop;
    int m_first = 0;
    int m_focus = kFirstEntryId;
};

View Observe(const MenuSession& menu) {
    View view;
    view.focus = menu.FocusedId();
    view.visible = menu.VisibleButtonIds();
    POINT origin = menu.ClientToScreen(POINT{0, 0});
    for (int id : view.visible) {
        if (id >= kFirstEntryId && id < kFirstEntryId + kEntryCount) {
            view.entryTops.push_back(menu.Child(id).rect.top - origin.y);
        }
    }
    return view;
}

struct Key {
    WORD key;
    bool shift;
    const char* name;
};
const Key kForward[] = {{VK_TAB, false, "Tab"},
                        {VK_DOWN, false, "Down"},
                        {VK_RIGHT, false, "Right"},
                        {VK_NEXT, false, "Page Down"}};
const Key kBackward[] = {{VK_TAB, true, "Shift+Tab"},
                         {VK_UP, false, "Up"},
                         {VK_LEFT, false, "Left"},
                         {VK_PRIOR, false, "Page Up"}};

class MenuAppScrollingTest : public MenuTest {
protected:
    void SetUp() override {
        MenuTest::SetUp();
        m_names = NumberedNames(kEntryCount);
        AddEntries(m_names);
    }

    // Presses the key and waits for the view the model expects. A key that
    // should change nothing is proven by the step after it: keys are handled
    // in order, so the next view the model expects shows what it did.
    void PressAndExpect(MenuSession& menu, const Key& key, const View& expected) {
        menu.PressKey(key.key, key.shift);
        View actual;
        WaitUntil(
            [&] {
                actual = Observe(menu);
                return actual == expected;
            },
            5000);
        EXPECT_EQ(expected, actual) << "after " << key.name;
    }

    std::vector<std::wstring> m_names;
};

TEST_F(MenuAppScrollingTest, KeysWalkTheFocusToTheLastEntryAndBackScrollingOneEntryPerStep) {
    const int headerHeight = TemplateHeaderHeight();
    ASSERT_GT(headerHeight, 0) << "the template's header marker could not be measured";
    SetCurrentSelection(m_names[0]);
    MenuSession menu;
    ASSERT_TRUE(menu.WaitForMenu());

    // The window: as high as the work area less 25, centred.
    RECT work = WorkArea();
    const int windowHeight = work.bottom - work.top - 25;
    EXPECT_EQ(CentredOnScreen(410, windowHeight), menu.WindowRect());
    EXPECT_TRUE(menu.HasWindowRegion());

    // As many entries as fit once both markers and the scroll reserve are
    // taken off; the entries hang one pitch apart below the up button's top,
    // which lies one pixel under the header marker.
    RECT footer = menu.Child(1000).rect;
    const int markerHeight = footer.bottom - footer.top;
    const int span = (windowHeight - headerHeight - markerHeight - 142) / kPitch;
    ASSERT_GT(span, 1);
    ASSERT_LT(span, kEntryCount);
    const int upTop = 5 + markerHeight + 1;
    POINT origin = menu.ClientToScreen(POINT{0, 0});
    EXPECT_EQ(upTop, menu.Child(kScrollUpId).rect.top - origin.y) << "up button";
    EXPECT_EQ(upTop + kPitch * (span + 1), menu.Child(kScrollDownId).rect.top - origin.y)
        << "down button";
    for (int i = 0; i < kEntryCount; ++i) {
        ChildWindow entry = menu.Child(kFirstEntryId + i);
        EXPECT_EQ(m_names[i], entry.text);
        if (i < span) {
            EXPECT_EQ(5, entry.rect.left - origin.x) << "entry " << i;
            EXPECT_EQ(400, entry.rect.right - entry.rect.left) << "entry " << i;
            EXPECT_EQ(70, entry.rect.bottom - entry.rect.top) << "entry " << i;
        }
    }

    ScrollModel model(kEntryCount, span, upTop);
    const View opened = model.Expected();
    WaitUntil([&] { return Observe(menu) == opened; }, 5000);
    ASSERT_EQ(opened, Observe(menu));

    // Down to the last entry, and one key more, which changes nothing.
    for (int presses = 0; presses < 3 * kEntryCount; ++presses) {
        const bool wasLast = model.AtLastEntry();
        model.Next();
        PressAndExpect(menu, kForward[presses % 4], model.Expected());
        if (HasFailure() || wasLast) {
            break;
        }
    }
    ASSERT_FALSE(HasFailure());
    EXPECT_TRUE(model.AtLastEntry());

    // Back up to the first entry, and one key more.
    for (int presses = 0; presses < 3 * kEntryCount; ++presses) {
        const bool wasFirst = model.AtFirstEntry();
        model.Previous();
        PressAndExpect(menu, kBackward[presses % 4], model.Expected());
        if (HasFailure() || wasFirst) {
            break;
        }
    }
    ASSERT_FALSE(HasFailure());
    EXPECT_TRUE(model.AtFirstEntry());
    // The step that shows what the last key did.
    model.Next();
    PressAndExpect(menu, kForward[0], model.Expected());

    EXPECT_TRUE(menu.CloseWithEscape());
}

// The names screen readers speak, in the user's UI language: English unless
// it is Japanese (tests/installer/japanese-ui.sh runs this under Japanese).
TEST_F(MenuAppScrollingTest, ScrollButtonsAreNamedInTheUsersLanguage) {
    struct Names {
        LANGID language;
        const wchar_t* upAndDown;
    } const names[] = {
        {LANG_ENGLISH, L"Scroll up|Scroll down"},
        {LANG_JAPANESE, L"上へスクロール|下へスクロール"},
    };
    const Names* expected = &names[0];
    for (const Names& row : names) {
        if (row.language == PRIMARYLANGID(::GetUserDefaultUILanguage())) {
            expected = &row;
        }
    }
    MenuSession menu;
    ASSERT_TRUE(menu.WaitForMenu());
    EXPECT_EQ(std::wstring(expected->upAndDown),
              menu.Child(kScrollUpId).text + L"|" + menu.Child(kScrollDownId).text);
    EXPECT_TRUE(menu.CloseWithEscape());
}

TEST_F(MenuAppScrollingTest, CurrentEntryBelowTheVisibleRangeIsScrolledIntoViewAndFocused) {
    SetCurrentSelection(m_names[kEntryCount - 1]);
    MenuSession menu;
    ASSERT_TRUE(menu.WaitForMenu());
    const int lastId = kFirstEntryId + kEntryCount - 1;
    EXPECT_EQ(lastId, menu.FocusOnceIs(lastId));
    EXPECT_TRUE(menu.Child(lastId).visible);
    EXPECT_FALSE(menu.Child(kFirstEntryId).visible);
    EXPECT_TRUE(menu.Child(kScrollUpId).visible);
    EXPECT_FALSE(menu.Child(kScrollDownId).visible);
    // The keys work from the first press.
    menu.PressKey(VK_UP);
    EXPECT_EQ(lastId - 1, menu.FocusOnceIs(lastId - 1));
    EXPECT_TRUE(menu.CloseWithEscape());
}

TEST_F(MenuAppScrollingTest, UnneededScrollButtonsStayVisibleButDisabledWhenNotToBeHidden) {
    m_profile.WriteEmptySection("HideUpDownWhenNotNeeded=0\r\n");
    SetCurrentSelection(m_names[0]);
    MenuSession menu;
    ASSERT_TRUE(menu.WaitForMenu());
    ChildWindow up = menu.Child(kScrollUpId);
    EXPECT_TRUE(up.visible);
    EXPECT_FALSE(up.enabled) << "at the top the up button is unavailable";
    EXPECT_TRUE(menu.Child(kScrollDownId).enabled);

    // Posted as a click on the down button would send it: one step down,
    // which ends with the focus on the down button. (On the way the focus
    // passes elsewhere: hiding the focused first entry hands it to the
    // dialog, which gives it to its first tab stop.)
    menu.Post(WM_COMMAND, MAKEWPARAM(kScrollDownId, BN_CLICKED), 0);
    EXPECT_EQ(kScrollDownId, menu.FocusOnceIs(kScrollDownId));
    EXPECT_TRUE(menu.Child(kScrollUpId).enabled) << "one step down makes the up button usable";
    EXPECT_FALSE(menu.Child(kFirstEntryId).visible);
    EXPECT_TRUE(menu.CloseWithEscape());
}

TEST_F(MenuAppScrollingTest, ClicksOnTheScrollButtonsScrollOneEntryEach) {
    SetCurrentSelection(m_names[0]);
    MenuSession menu;
    ASSERT_TRUE(menu.WaitForMenu());
    ASSERT_EQ(kFirstEntryId, menu.FocusOnceIs(kFirstEntryId));
    const RECT firstSlot = menu.Child(kFirstEntryId).rect;
    EXPECT_FALSE(menu.Child(kScrollUpId).visible);

    // Down: the second entry moves into the first slot; the clicked button
    // keeps the focus.
    menu.ClickChild(kScrollDownId);
    EXPECT_TRUE(WaitUntil([&] { return !menu.Child(kFirstEntryId).visible; }, 5000));
    EXPECT_EQ(kScrollDownId, menu.FocusOnceIs(kScrollDownId));
    EXPECT_EQ(firstSlot.top, menu.Child(kFirstEntryId + 1).rect.top);
    EXPECT_TRUE(menu.Child(kScrollUpId).visible);

    // Up: back at the top, the focus on the first entry, the up button gone.
    menu.ClickChild(kScrollUpId);
    EXPECT_EQ(kFirstEntryId, menu.FocusOnceIs(kFirstEntryId));
    EXPECT_TRUE(menu.Child(kFirstEntryId).visible);
    EXPECT_EQ(firstSlot.top, menu.Child(kFirstEntryId).rect.top);
    EXPECT_FALSE(menu.Child(kScrollUpId).visible);
    ParkPointer();
    EXPECT_TRUE(menu.CloseWithEscape());
}

// Sets the DPI that Wine gives every process started afterwards ("LogPixels")
// and puts the previous value back.
class ScopedLogPixels {
public:
    explicit ScopedLogPixels(DWORD dpi)
        : m_saved(ReadRegistryValue(HKEY_CURRENT_USER, kKey, kName)) {
        WriteRegistryDword(HKEY_CURRENT_USER, kKey, kName, dpi);
    }
    ~ScopedLogPixels() {
        if (m_saved.exists) {
            WriteRegistryBytes(HKEY_CURRENT_USER, kKey, kName, m_saved.type, m_saved.data.data(),
                               static_cast<DWORD>(m_saved.data.size()));
        } else {
            ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, kName);
        }
    }
    ScopedLogPixels(const ScopedLogPixels&) = delete;
    ScopedLogPixels& operator=(const ScopedLogPixels&) = delete;

private:
    static constexpr wchar_t kKey[] = L"Control Panel\\Desktop";
    static constexpr wchar_t kName[] = L"LogPixels";
    RegistryValue m_saved;
};

TEST_F(MenuAppScrollingTest,
       At150PercentEverySizeGrowsByHalfAndTheListStillScrollsOneEntryPerStep) {
    ScopedLogPixels dpi(144);
    SetCurrentSelection(m_names[0]);
    MenuSession menu;
    ASSERT_TRUE(menu.WaitForMenu());
    ASSERT_EQ(kFirstEntryId, menu.FocusOnceIs(kFirstEntryId));

    // Entries 600 x 105, 107 apart, between margins of 8, in a window as
    // high as the work area less 38.
    const RECT work = WorkArea();
    EXPECT_EQ(CentredOnScreen(616, work.bottom - work.top - 38), menu.WindowRect());
    const RECT first = menu.Child(kFirstEntryId).rect;
    EXPECT_EQ((RECT{menu.WindowRect().left + 8, first.top, menu.WindowRect().left + 608,
                    first.top + 105}),
              first);
    const RECT second = menu.Child(kFirstEntryId + 1).rect;
    EXPECT_EQ(first.top + 107, second.top);

    // The captions are drawn whole, centred: the second entry's lower part
    // shows nothing but its (normal) gradient across its middle.
    const int y = second.bottom - 12;
    std::vector<PixelExpectation> band;
    for (int x = second.left + 100; x < second.right - 100; x += 25) {
        band.push_back({"below the caption",
                        {x, y},
                        GradientAt(RGB(0x3D, 0xB5, 0xFF), y - second.top, 105),
                        8});
    }
    ExpectScreenPixels(band);

    menu.ClickChild(kScrollDownId);
    EXPECT_TRUE(WaitUntil([&] { return !menu.Child(kFirstEntryId).visible; }, 5000));
    EXPECT_EQ(first, menu.Child(kFirstEntryId + 1).rect);
    EXPECT_TRUE(menu.CloseWithEscape());
}

using MenuAppFittingNavigationTest = MenuTest;

TEST_F(MenuAppFittingNavigationTest, FocusStopsAtTheFirstAndTheLastEntry) {
    AddEntries(NumberedNames(3));
    SetCurrentSelection(L"Entry 01");
    MenuSession menu;
    ASSERT_TRUE(menu.WaitForMenu());
    ASSERT_EQ(kFirstEntryId, menu.FocusOnceIs(kFirstEntryId));
    const struct {
        Key key;
        int expectedFocus;
    } steps[] = {
        {kBackward[0], kFirstEntryId},     {kBackward[1], kFirstEntryId},
        {kForward[0], kFirstEntryId + 1},  {kForward[1], kFirstEntryId + 2},
        {kForward[2], kFirstEntryId + 2},  {kForward[3], kFirstEntryId + 2},
        {kBackward[2], kFirstEntryId + 1}, {kBackward[3], kFirstEntryId},
    };
    // A key that should change nothing is proven by the step after it: keys
    // are handled in order.
    for (const auto& step : steps) {
        menu.PressKey(step.key.key, step.key.shift);
        EXPECT_EQ(step.expectedFocus, menu.FocusOnceIs(step.expectedFocus))
            << "after " << step.key.name;
    }
    // The scroll buttons never become visible, so the keys never reach them.
    EXPECT_EQ((std::vector<int>{kFirstEntryId, kFirstEntryId + 1, kFirstEntryId + 2}),
              menu.VisibleButtonIds());
    EXPECT_TRUE(menu.CloseWithEscape());
}

} // namespace
