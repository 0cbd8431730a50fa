// In-memory top-level windows: each has a class, a visibility and a record of every
// message sent to it; a test may give a window a handler that answers its messages
// (and may destroy it, as a window that closes does). Windows are walked in the order
// they were added. Calls can be made to fail.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/memory/fault_plan.h"
#include "platform/top_windows.h"

struct SentMessage {
    std::uint32_t message = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;  // 0 for a text message
    bool hasText = false;
    std::string text;
};

class MemoryTopWindows : public TopWindows {
public:
    using Handler = std::function<std::intptr_t(HWnd window, const SentMessage& message)>;

    bool Enumerate(const std::function<bool(HWnd window)>& visit) override;
    int ClassName(HWnd window, char* buffer, int size) override;
    bool IsVisible(HWnd window) override;
    bool Exists(HWnd window) override;
    bool Send(HWnd window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
              std::intptr_t* result) override;
    bool SendText(HWnd window, std::uint32_t message, std::uintptr_t wParam,
                  const std::string& text, std::intptr_t* result) override;

    // Adds a top-level window at the bottom of the Z order.
    HWnd Add(const std::string& className, bool visible, Handler handler = {});
    // The window is gone: no longer walked, answers nothing, keeps its record.
    void Destroy(HWnd window);
    // Every message the window was sent, in order.
    const std::vector<SentMessage>& Received(HWnd window) const;

    // Calls are named "TopWindows.Enumerate" (the argument is empty), "TopWindows.ClassName"
    // and "TopWindows.Send" (SendText included; the argument is the window's class).
    FaultPlan faults;

private:
    struct Window {
        HWnd handle;
        std::string className;
        bool visible = false;
        bool alive = true;
        Handler handler;
        std::vector<SentMessage> received;
    };

    Window* Find(HWnd window);
    const Window* Find(HWnd window) const;
    bool Deliver(HWnd window, const SentMessage& message, std::intptr_t* result);

    std::vector<Window> windows_;
    std::uintptr_t nextHandle_ = 0x10010;
};
