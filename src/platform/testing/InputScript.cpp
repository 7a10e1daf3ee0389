#include "platform/testing/InputScript.h"

#include "platform/kernel/Clock.h"
#include "platform/testing/Reset.h"
#include "platform/testing/TestDriver.h"
#include "platform/user/menus/Menu.h"
#include "platform/user/menus/MenuSession.h"
#include "platform/user/menus/MessageBoxWindow.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <vector>

namespace pw::platform::testing {

namespace {

struct State {
    bool loaded = false;
    std::vector<std::string> steps;
    size_t next = 0;
    uint64_t dueAt = 0;
    // What a "waitfile" or "waitbox" step waits for: the next step waits until it holds or dueAt
    // has passed. Empty when no such step waits.
    std::function<bool()> awaited;
    std::string awaitedName;
};

// How often a step waiting for a file looks for it.
constexpr uint64_t kFilePollMs = 50;

State& TheState()
{
    static State state;
    return state;
}

const bool registered = RegisterReset([] { TheState() = State {}; });

void Load(State& s)
{
    s.loaded = true;
    const char* path = std::getenv("PLUMEWRIGHT_INPUT_SCRIPT");
    if (!path || !*path)
        return;
    std::ifstream file(path);
    if (!file)
        std::fprintf(stderr, "plumewright: no input script at %s\n", path);
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line[0] != '#')
            s.steps.push_back(line);
    }
}

UINT NamedKey(const std::string& name)
{
    struct Named {
        const char* name;
        UINT key;
    };
    static const Named keys[] = {
        { "return", VK_RETURN }, { "escape", VK_ESCAPE }, { "tab", VK_TAB }, { "backspace", VK_BACK },
        { "left", VK_LEFT }, { "right", VK_RIGHT }, { "up", VK_UP }, { "down", VK_DOWN },
        { "alt", VK_MENU }, { "f10", VK_F10 },
    };
    for (const Named& named : keys) {
        if (name == named.name)
            return named.key;
    }
    if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0])))
        return static_cast<UINT>(std::toupper(static_cast<unsigned char>(name[0])));
    return 0;
}

// "control+shift+a": the modifiers held around the key.
bool PressNamedKey(std::string name)
{
    static const std::pair<const char*, UINT> modifiers[] = {
        { "control+", VK_CONTROL }, { "shift+", VK_SHIFT }, { "alt+", VK_MENU },
    };
    std::vector<UINT> held;
    for (bool found = true; found;) {
        found = false;
        for (const auto& [prefix, key] : modifiers) {
            if (name.rfind(prefix, 0) == 0) {
                held.push_back(key);
                name.erase(0, std::string(prefix).size());
                found = true;
            }
        }
    }
    UINT key = NamedKey(name);
    if (key == 0)
        return false;
    for (UINT modifier : held)
        PressKey(modifier);
    TypeKey(key);
    for (auto it = held.rbegin(); it != held.rend(); ++it)
        ReleaseKey(*it);
    return true;
}

bool WriteOpenMenu(const std::string& path)
{
    std::ofstream out(path, std::ios::binary);
    const MenuSession* session = MenuSession::Current();
    if (!out || !session || session->levels.empty())
        return false;
    const MenuSession::Level& level = session->levels.back();
    const Menu* menu = MenuTable::Find(level.menu);
    if (!menu)
        return false;
    RECT rect = level.ScreenRect();
    out << "open " << rect.left << ' ' << rect.top << ' ' << rect.right << ' ' << rect.bottom << '\n';
    for (const MenuItem& item : menu->items) {
        out << "item " << (item.kind == MenuItem::Kind::Separator ? "-" : item.title);
        out << (item.IsGrayed() ? "\tgrayed\n" : "\n");
    }
    return true;
}

// Exactly `count` whole numbers and nothing after them.
bool ReadNumbers(const std::string& text, int* numbers, size_t count)
{
    std::istringstream in(text);
    for (size_t i = 0; i < count; ++i) {
        if (!(in >> numbers[i]))
            return false;
    }
    std::string more;
    return !(in >> more);
}

// The mouse steps: "click X Y", "doubleclick X Y", "press X Y", "move X Y", "release X Y" and
// "drag X1 Y1 X2 Y2 STEPS", at desktop coordinates with the left button.
bool RunMouseStep(const std::string& verb, const std::string& rest)
{
    int n[5] = {};
    if (verb == "drag") {
        if (!ReadNumbers(rest, n, 5) || n[4] < 1)
            return false;
        Drag(n[0], n[1], n[2], n[3], n[4]);
        return true;
    }
    using Action = void (*)(int, int);
    static const std::pair<const char*, Action> actions[] = {
        { "click", [](int x, int y) { Click(x, y); } },
        { "doubleclick", DoubleClick },
        { "press", [](int x, int y) { PressMouse(x, y); } },
        { "move", MoveMouse },
        { "release", [](int x, int y) { ReleaseMouse(x, y); } },
    };
    for (const auto& [name, action] : actions) {
        if (verb == name) {
            if (!ReadNumbers(rest, n, 2))
                return false;
            action(n[0], n[1]);
            return true;
        }
    }
    return false;
}

} // namespace

bool InputScript::RunStep(const std::string& line)
{
    std::istringstream words(line);
    std::string verb;
    words >> verb;
    std::string rest;
    std::getline(words >> std::ws, rest);
    if (verb == "type" && !rest.empty()) {
        TypeText(rest);
        return true;
    }
    if (verb == "key")
        return PressNamedKey(rest);
    if (verb == "shot")
        return !rest.empty() && SaveDesktopAsBmp(rest, false);
    if (verb == "menu")
        return !rest.empty() && WriteOpenMenu(rest);
    if (verb == "close" || verb == "quit") {
        verb == "close" ? RequestClose() : RequestQuit();
        return true;
    }
    if (verb == "waitfile" || verb == "waitbox") {
        std::istringstream in(rest);
        std::string path;
        int timeout = 0;
        if ((verb == "waitfile" && !(in >> path)) || !(in >> timeout) || timeout < 0)
            return false;
        State& s = TheState();
        if (verb == "waitfile") {
            s.awaited = [path] {
                std::error_code error;
                return std::filesystem::exists(path, error);
            };
            s.awaitedName = path;
        } else {
            s.awaited = [] { return MessageBoxWindow::OpenCount() > 0; };
            s.awaitedName = "a message box";
        }
        s.dueAt = Clock::NowMs() + static_cast<uint64_t>(timeout);
        return true;
    }
    if (verb == "wait") {
        char* end = nullptr;
        unsigned long ms = std::strtoul(rest.c_str(), &end, 10);
        if (rest.empty() || *end != '\0')
            return false;
        TheState().dueAt = Clock::NowMs() + ms;
        return true;
    }
    return RunMouseStep(verb, rest);
}

bool InputScript::RunDueStep()
{
    State& s = TheState();
    if (!s.loaded)
        Load(s);
    if (s.next >= s.steps.size())
        return false;
    if (s.awaited) {
        bool found = s.awaited();
        if (!found && Clock::NowMs() < s.dueAt)
            return false;
        if (!found)
            std::fprintf(stderr, "plumewright: input script gave up waiting for %s\n", s.awaitedName.c_str());
        s.awaited = nullptr;
        s.dueAt = 0;
    }
    if (Clock::NowMs() < s.dueAt)
        return false;
    const std::string& line = s.steps[s.next++];
    if (!RunStep(line))
        std::fprintf(stderr, "plumewright: input script step failed: %s\n", line.c_str());
    return true;
}

std::optional<uint64_t> InputScript::NextDueMs()
{
    const State& s = TheState();
    if (s.next >= s.steps.size())
        return std::nullopt;
    if (s.awaited)
        return std::min(s.dueAt, Clock::NowMs() + kFilePollMs);
    return s.dueAt;
}

} // namespace pw::platform::testing
