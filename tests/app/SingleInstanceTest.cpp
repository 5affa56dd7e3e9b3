// Every press of the hot key starts the program anew: the first start shows
// the menu, the next one closes it, and starts while a closer is at work do
// nothing. To count the WM_CLOSE messages precisely, some tests play the open
// menu themselves: they hold the instance mutex and own a window titled
// "VLTMedia" that counts what it receives.
#include "MenuTest.h"
#include "OwnWindow.h"
#include "tests/support/TestPaths.h"

#include <memory>

namespace {

// Holds a named mutex as the menu process would: an existence flag.
class HeldMutex {
public:
    explicit HeldMutex(const wchar_t* name) : m_mutex(::CreateMutexW(nullptr, FALSE, name)) {
        m_existed = ::GetLastError() == ERROR_ALREADY_EXISTS;
    }
    bool Created() const { return m_mutex && !m_existed; }

private:
    UniqueKernelHandle m_mutex;
    bool m_existed = false;
};

// A window titled "VLTMedia": of the dialog class it stands in for the menu;
// of a class of the test's own it is an unrelated window that must be left
// alone. Hidden: a closer finds it all the same.
OwnWindow::Options TitledLikeTheMenu(bool dialogClass) {
    OwnWindow::Options options;
    options.title = kMenuTitle;
    options.dialogClass = dialogClass;
    return options;
}

OwnWindow::Options StandIn() {
    return TitledLikeTheMenu(true);
}

struct StartsOutcome {
    bool allEnded = true;
    int showedMenu = 0; // starts that showed a window titled "VLTMedia"
};

// Starts the program count times at once: every process is created
// suspended and then all are resumed together, so that they overlap as far
// as the machine lets them. Waits for every start to end, watching meanwhile
// for a menu window of any of them.
StartsOutcome StartSeveral(int count) {
    std::vector<std::unique_ptr<RunningProgram>> starts;
    for (int i = 0; i < count; ++i) {
        starts.push_back(std::make_unique<RunningProgram>(DeliverablePath(L"VLTMedia.exe"), L"",
                                                          L"", RunningProgram::Start::Suspended));
    }
    for (auto& start : starts) {
        start->Resume();
    }
    StartsOutcome outcome;
    std::vector<bool> showed(count, false);
    auto watch = [&] {
        bool running = false;
        for (int i = 0; i < count; ++i) {
            if (!MenuWindowsOf(starts[i]->ProcessId()).empty()) {
                showed[i] = true;
            }
            running = running || starts[i]->IsRunning();
        }
        return !running;
    };
    outcome.allEnded = WaitUntil(watch, 20000);
    for (int i = 0; i < count; ++i) {
        EXPECT_TRUE(starts[i]->Started()) << "start " << i;
        outcome.showedMenu += showed[i] ? 1 : 0;
    }
    return outcome;
}

using MenuAppSingleInstanceTest = MenuTest;

TEST_F(MenuAppSingleInstanceTest, SecondStartClosesTheOpenMenuAndEndsAndTheNextStartOpensItAgain) {
    MenuSession first;
    ASSERT_TRUE(first.WaitForMenu());
    EXPECT_TRUE(NamedMutexExists(kInstanceMutex)) << "the instance mutex marks the open menu";

    StartsOutcome second = StartSeveral(1);
    EXPECT_TRUE(second.allEnded) << "the second start did not end";
    EXPECT_EQ(0, second.showedMenu) << "the second start showed a menu";
    EXPECT_TRUE(first.WaitForExit()) << "the open menu did not close";
    EXPECT_EQ(0u, first.Program().ExitCode());

    // Both are gone, and with them the mutexes: the hot key opens the menu.
    EXPECT_TRUE(WaitUntil([] { return !NamedMutexExists(kInstanceMutex); }, 5000));
    EXPECT_FALSE(NamedMutexExists(kCloserMutex));
    MenuSession third;
    ASSERT_TRUE(third.WaitForMenu()) << "no menu after the toggle";
    EXPECT_TRUE(third.CloseWithEscape());
}

TEST_F(MenuAppSingleInstanceTest, SeveralStartsWhileOpenCloseTheRealMenuAndOpenNoNewOne) {
    MenuSession menu;
    ASSERT_TRUE(menu.WaitForMenu());
    // The test keeps the instance mutex alive past the menu's end, so every
    // start comes "while the menu is open", however slowly it starts.
    HeldMutex instance(kInstanceMutex);
    ASSERT_TRUE(NamedMutexExists(kInstanceMutex));
    StartsOutcome starts = StartSeveral(5);
    EXPECT_TRUE(starts.allEnded) << "a start did not end";
    EXPECT_EQ(0, starts.showedMenu) << "starts that showed a new menu";
    EXPECT_TRUE(menu.WaitForExit()) << "the open menu did not close";
}

TEST_F(MenuAppSingleInstanceTest, SeveralStartsAtOnceSendExactlyOneClose) {
    HeldMutex instance(kInstanceMutex);
    ASSERT_TRUE(instance.Created());
    // The first closer's mutex is kept from its WM_CLOSE on, so the closer
    // stays at work until every start has ended.
    OwnWindow::Options options = StandIn();
    options.mutexHeldFromFirstClose = kCloserMutex;
    OwnWindow standIn(options);
    StartsOutcome starts = StartSeveral(6);
    EXPECT_TRUE(starts.allEnded) << "a start did not end";
    EXPECT_EQ(0, starts.showedMenu) << "starts that showed a menu";
    EXPECT_TRUE(standIn.HoldsMutex()) << "the closer ended before its WM_CLOSE was handled";
    EXPECT_EQ(1, standIn.CloseRequests()) << "WM_CLOSE messages received";
}

TEST_F(MenuAppSingleInstanceTest, StartWhileAnotherIsClosingDoesNothing) {
    HeldMutex instance(kInstanceMutex);
    HeldMutex closer(kCloserMutex);
    ASSERT_TRUE(instance.Created() && closer.Created());
    OwnWindow standIn(StandIn());
    StartsOutcome starts = StartSeveral(2);
    EXPECT_TRUE(starts.allEnded);
    EXPECT_EQ(0, starts.showedMenu);
    EXPECT_EQ(0, standIn.CloseRequests()) << "WM_CLOSE messages received";
}

TEST_F(MenuAppSingleInstanceTest, StartWhileTheMenuProcessHasNoWindowEndsWithoutOpeningOne) {
    // The menu process still running but its window already gone (or not
    // yet made): the start finds nothing to close and opens nothing, and an
    // unrelated window that bears the menu's title is not taken for it.
    HeldMutex instance(kInstanceMutex);
    ASSERT_TRUE(instance.Created());
    OwnWindow unrelated(TitledLikeTheMenu(false));
    StartsOutcome starts = StartSeveral(1);
    EXPECT_TRUE(starts.allEnded);
    EXPECT_EQ(0, starts.showedMenu);
    EXPECT_EQ(0, unrelated.CloseRequests()) << "WM_CLOSE messages received";
}

TEST_F(MenuAppSingleInstanceTest, UnrelatedWindowTitledLikeTheMenuNeitherStopsNorGetsClosed) {
    OwnWindow standIn(TitledLikeTheMenu(false));
    MenuSession menu;
    ASSERT_TRUE(menu.WaitForMenu()) << "the menu did not open";
    EXPECT_NE(standIn.Handle(), menu.Window());
    EXPECT_TRUE(menu.CloseWithEscape());
    EXPECT_EQ(0, standIn.CloseRequests()) << "WM_CLOSE messages received";
}

} // namespace
