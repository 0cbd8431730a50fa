#include "platform/memory/memory_top_windows.h"

#include <algorithm>
#include <cstring>

MemoryTopWindows::Window* MemoryTopWindows::Find(HWnd window) {
    for (Window& w : windows_) {
        if (w.handle == window) {
            return &w;
        }
    }
    return nullptr;
}

const MemoryTopWindows::Window* MemoryTopWindows::Find(HWnd window) const {
    return const_cast<MemoryTopWindows*>(this)->Find(window);
}

HWnd MemoryTopWindows::Add(const std::string& className, bool visible, Handler handler) {
    HWnd handle{nextHandle_};
    nextHandle_ += 0x10;
    windows_.push_back(Window{handle, className, visible, true, std::move(handler), {}});
    return handle;
}

void MemoryTopWindows::Destroy(HWnd window) {
    if (Window* w = Find(window)) {
        w->alive = false;
    }
}

const std::vector<SentMessage>& MemoryTopWindows::Received(HWnd window) const {
    return Find(window)->received;
}

bool MemoryTopWindows::Enumerate(const std::function<bool(HWnd window)>& visit) {
    if (faults.Check("TopWindows.Enumerate", "") != winerr::kSuccess) {
        return false;
    }
    // A snapshot, as EnumWindows takes one: windows added during the walk are not
    // visited, destroyed ones are passed over.
    std::vector<HWnd> handles;
    for (const Window& w : windows_) {
        handles.push_back(w.handle);
    }
    for (HWnd handle : handles) {
        if (Exists(handle) && !visit(handle)) {
            break;
        }
    }
    return true;
}

int MemoryTopWindows::ClassName(HWnd window, char* buffer, int size) {
    Window* w = Find(window);
    if (w == nullptr || !w->alive || size <= 0 ||
        faults.Check("TopWindows.ClassName", w->className) != winerr::kSuccess) {
        return 0;
    }
    size_t copied = std::min(w->className.size(), static_cast<size_t>(size - 1));
    std::memcpy(buffer, w->className.data(), copied);
    buffer[copied] = '\0';
    return static_cast<int>(copied);
}

bool MemoryTopWindows::IsVisible(HWnd window) {
    const Window* w = Find(window);
    return w != nullptr && w->alive && w->visible;
}

bool MemoryTopWindows::Exists(HWnd window) {
    const Window* w = Find(window);
    return w != nullptr && w->alive;
}

bool MemoryTopWindows::Deliver(HWnd window, const SentMessage& message, std::intptr_t* result) {
    Window* w = Find(window);
    if (w == nullptr || !w->alive ||
        faults.Check("TopWindows.Send", w->className) != winerr::kSuccess) {
        return false;
    }
    w->received.push_back(message);
    // The handler may add windows, which moves windows_: it gets a copy to call.
    Handler handler = w->handler;
    std::intptr_t answer = handler ? handler(window, message) : 0;
    if (result != nullptr) {
        *result = answer;
    }
    return true;
}

bool MemoryTopWindows::Send(HWnd window, std::uint32_t message, std::uintptr_t wParam,
                            std::intptr_t lParam, std::intptr_t* result) {
    return Deliver(window, SentMessage{message, wParam, lParam, false, ""}, result);
}

bool MemoryTopWindows::SendText(HWnd window, std::uint32_t message, std::uintptr_t wParam,
                                const std::string& text, std::intptr_t* result) {
    // The receiver sees the text up to its first NUL, as the pointer gives it.
    return Deliver(window, SentMessage{message, wParam, 0, true, text.c_str()}, result);
}
