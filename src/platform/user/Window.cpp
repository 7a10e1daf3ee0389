#include "platform/user/Window.h"

#include "platform/testing/Reset.h"
#include "platform/user/WindowClass.h"

namespace pw::platform {

namespace {

// Handles are counted and never reused within a run, so a stale handle is always found dead.
constexpr uintptr_t kFirstHandle = 0x10010;
constexpr uintptr_t kHandleStep = 4;

struct Table {
    std::map<uintptr_t, std::unique_ptr<Window>> windows;
    uintptr_t nextHandle = kFirstHandle;
};

Table& TheTable()
{
    static Table table;
    return table;
}

const bool registered = testing::RegisterReset([] { TheTable() = Table {}; });

} // namespace

Window::Window(HWND handle, WindowClass& windowClass, HWND parent)
    : procedure(windowClass.Procedure())
    , extraBytes(static_cast<size_t>(windowClass.WindowExtraBytes()), 0)
    , handle(handle)
    , windowClass(&windowClass)
    , parent(parent)
{
}

Window& WindowTable::Add(WindowClass& windowClass, HWND parent)
{
    Table& table = TheTable();
    uintptr_t value = table.nextHandle;
    table.nextHandle += kHandleStep;
    auto window = std::make_unique<Window>(reinterpret_cast<HWND>(value), windowClass, parent);
    Window& result = *window;
    table.windows.emplace(value, std::move(window));
    return result;
}

void WindowTable::Remove(HWND handle)
{
    TheTable().windows.erase(reinterpret_cast<uintptr_t>(handle));
}

Window* WindowTable::Find(HWND handle)
{
    auto& windows = TheTable().windows;
    auto it = windows.find(reinterpret_cast<uintptr_t>(handle));
    return it == windows.end() ? nullptr : it->second.get();
}

std::vector<HWND> WindowTable::Handles()
{
    std::vector<HWND> handles;
    for (auto& [value, window] : TheTable().windows)
        handles.push_back(window->Handle());
    return handles;
}

size_t WindowTable::Count()
{
    return TheTable().windows.size();
}

Window* WindowTable::FindIf(const std::function<bool(const Window&)>& predicate)
{
    for (auto& [value, window] : TheTable().windows) {
        if (predicate(*window))
            return window.get();
    }
    return nullptr;
}

LRESULT SendToWindow(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window* window = WindowTable::Find(hwnd);
    if (!window || !window->procedure)
        return 0;
    // The procedure is copied out: the window may be gone when it returns.
    WNDPROC procedure = window->procedure;
    return procedure(hwnd, message, wParam, lParam);
}

} // namespace pw::platform
