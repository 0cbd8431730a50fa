// The in-memory windows: the shared contract, plus what only the double offers (fault
// injection, handlers that close their window).
#include "platform/memory/memory_top_windows.h"

#include <gtest/gtest.h>

#include "platform/top_windows_contract.h"

namespace {

struct MemoryWindowsEnv {
    HWnd Create(const std::string& className, bool visible, bool /*minimised*/) {
        return windows.Add(className, visible, [](HWnd, const SentMessage& m) -> std::intptr_t {
            return m.message == kAppMessage + 1 ? static_cast<std::intptr_t>(m.wParam) + m.lParam
                                                : 0;
        });
    }
    void Destroy(HWnd window) { windows.Destroy(window); }
    std::vector<SentMessage> Received(HWnd window) { return windows.Received(window); }

    MemoryTopWindows windows;
};

}  // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Memory, TopWindowsContract, MemoryWindowsEnv);

namespace {

TEST(MemoryTopWindows, FailingSendIsNotRecordedAndLaterSendsStillArrive) {
    MemoryTopWindows windows;
    HWnd ie = windows.Add("IEFrame", true);
    windows.faults.Fail("TopWindows.Send", winerr::kAccessDenied, "IEFrame", 1);
    EXPECT_FALSE(windows.Send(ie, winmsg::kSysCommand, winmsg::kScClose, 0, nullptr));
    EXPECT_TRUE(windows.Send(ie, winmsg::kSysCommand, winmsg::kScClose, 0, nullptr));
    EXPECT_EQ(1u, windows.Received(ie).size());
}

TEST(MemoryTopWindows, HandlerThatDestroysItsWindowEndsItsLife) {
    MemoryTopWindows windows;
    HWnd ie = windows.Add("IEFrame", true, [&](HWnd self, const SentMessage&) {
        windows.Destroy(self);
        return 0;
    });
    EXPECT_TRUE(windows.Send(ie, winmsg::kSysCommand, winmsg::kScClose, 0, nullptr));
    EXPECT_FALSE(windows.Exists(ie));
    EXPECT_FALSE(windows.Send(ie, winmsg::kSysCommand, winmsg::kScClose, 0, nullptr));
    EXPECT_EQ(1u, windows.Received(ie).size());
}

TEST(MemoryTopWindows, WalkAndClassNameCanBeMadeToFail) {
    MemoryTopWindows windows;
    HWnd ie = windows.Add("IEFrame", true);
    windows.faults.Fail("TopWindows.ClassName", winerr::kAccessDenied, "IEFrame");
    char name[16] = "untouched";
    EXPECT_EQ(0, windows.ClassName(ie, name, sizeof name));
    EXPECT_STREQ("untouched", name);
    windows.faults.Fail("TopWindows.Enumerate", winerr::kAccessDenied);
    int visits = 0;
    EXPECT_FALSE(windows.Enumerate([&](HWnd) { return ++visits, true; }));
    EXPECT_EQ(0, visits);
}

TEST(MemoryTopWindows, WindowAddedDuringTheWalkIsNotVisited) {
    MemoryTopWindows windows;
    windows.Add("A", true);
    int visits = 0;
    windows.Enumerate([&](HWnd) {
        ++visits;
        windows.Add("B", true);
        return true;
    });
    EXPECT_EQ(1, visits);
}

}  // namespace
