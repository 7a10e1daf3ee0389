#include "platform/user/Modal.h"

#include "platform/testing/Reset.h"
#include "platform/user/Activation.h"
#include "platform/user/Desktop.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/Window.h"
#include "platform/user/ZOrder.h"

#include <vector>

namespace pw::platform {

namespace {

std::vector<HWND>& Blockers()
{
    static std::vector<HWND> blockers;
    return blockers;
}

const bool registered = testing::RegisterReset([] { Blockers().clear(); });

} // namespace

ModalScope::ModalScope(HWND window)
    : window(window)
    , previousLayer(static_cast<int>(LayerOf(window)))
{
    Blockers().push_back(window);
    SetWindowLayer(window, WindowLayer::Blocking);
}

ModalScope::~ModalScope()
{
    auto& blockers = Blockers();
    for (auto it = blockers.rbegin(); it != blockers.rend(); ++it) {
        if (*it == window) {
            blockers.erase(std::next(it).base());
            break;
        }
    }
    if (WindowTable::Find(window))
        SetWindowLayer(window, static_cast<WindowLayer>(previousLayer));
}

HWND BlockingWindow()
{
    auto& blockers = Blockers();
    while (!blockers.empty() && !WindowTable::Find(blockers.back()))
        blockers.pop_back();
    return blockers.empty() ? nullptr : blockers.back();
}

bool AcceptsInput(HWND hwnd)
{
    HWND blocker = BlockingWindow();
    if (!blocker || Activation::IsWithin(hwnd, blocker))
        return true;
    // Transient windows above everything (a menu's drop-down) take input whoever blocks.
    int depth = 0;
    for (Window* window = WindowTable::Find(hwnd); window && depth < 64; window = WindowTable::Find(window->Parent()), ++depth) {
        if (window->layer == WindowLayer::Popup)
            return true;
    }
    return false;
}

bool RunModalLoop(const std::function<bool()>& done)
{
    while (!done()) {
        if (MessageLoop::DispatchOne())
            continue;
        if (MessageQueue::QuitPending() || !MessageLoop::WaitForWork())
            return false;
    }
    return true;
}

bool SetWindowLayer(HWND hwnd, WindowLayer layer)
{
    Window* window = WindowTable::Find(hwnd);
    if (!window)
        return false;
    DesktopChange change;
    ZOrder::SetLayer(*window, layer);
    return true;
}

WindowLayer LayerOf(HWND hwnd)
{
    Window* window = WindowTable::Find(hwnd);
    return window ? window->layer : WindowLayer::Normal;
}

} // namespace pw::platform
