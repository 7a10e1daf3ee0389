#include "platform/user/WindowClass.h"

#include "platform/kernel/LastError.h"
#include "platform/testing/Reset.h"
#include "platform/user/controls/ControlClasses.h"

#include <cctype>

namespace pw::platform {

namespace {

constexpr DWORD kErrorClassAlreadyExists = 1410;
// Class atoms come from the string-atom range, like the documented RegisterClass atoms.
constexpr ATOM kFirstAtom = 0xC000;

struct Registry {
    std::vector<std::unique_ptr<WindowClass>> classes;
    ATOM nextAtom = kFirstAtom;
};

Registry& TheRegistry()
{
    static Registry registry;
    return registry;
}

// The system's control classes belong to a fresh registry, as they do to every process.
const bool registered = testing::RegisterReset([] {
    TheRegistry() = Registry {};
    user::RegisterControlClasses();
});

} // namespace

bool SameNameIgnoringCase(const std::string& a, const char* b)
{
    size_t i = 0;
    for (; b[i] != '\0'; ++i) {
        if (i >= a.size())
            return false;
        auto x = static_cast<unsigned char>(a[i]);
        auto y = static_cast<unsigned char>(b[i]);
        if (std::tolower(x) != std::tolower(y))
            return false;
    }
    return i == a.size();
}

WindowClass::WindowClass(const WNDCLASSA& wc, ATOM atom)
    : name(wc.lpszClassName)
    , atom(atom)
    , style(wc.style)
    , procedure(wc.lpfnWndProc)
    , windowExtraBytes(wc.cbWndExtra)
    , cursor(wc.hCursor)
    , background(wc.hbrBackground)
{
    // A menu named by number is kept as its "#id" text form.
    if (wc.lpszMenuName && IS_INTRESOURCE(wc.lpszMenuName))
        menuName = std::string("#").append(std::to_string(reinterpret_cast<ULONG_PTR>(wc.lpszMenuName)));
    else if (wc.lpszMenuName)
        menuName = wc.lpszMenuName;
}

ATOM WindowClass::Register(const WNDCLASSA& wc)
{
    if (!wc.lpszClassName || IS_INTRESOURCE(wc.lpszClassName) || wc.lpszClassName[0] == '\0')
        return Fail(ERROR_INVALID_PARAMETER, ATOM(0));
    if (!wc.lpfnWndProc || wc.cbWndExtra < 0 || wc.cbClsExtra < 0 || wc.cbWndExtra > 40 * 1024)
        return Fail(ERROR_INVALID_PARAMETER, ATOM(0));
    if (Find(wc.lpszClassName))
        return Fail(kErrorClassAlreadyExists, ATOM(0));
    Registry& registry = TheRegistry();
    if (registry.nextAtom == 0)
        return Fail(ERROR_NOT_ENOUGH_MEMORY, ATOM(0));
    ATOM atom = registry.nextAtom++;
    registry.classes.push_back(std::make_unique<WindowClass>(wc, atom));
    return atom;
}

WindowClass* WindowClass::Find(LPCSTR nameOrAtom)
{
    if (!nameOrAtom)
        return nullptr;
    for (auto& windowClass : TheRegistry().classes) {
        if (IS_INTRESOURCE(nameOrAtom)) {
            if (windowClass->Atom() == reinterpret_cast<ULONG_PTR>(nameOrAtom))
                return windowClass.get();
        } else if (SameNameIgnoringCase(windowClass->Name(), nameOrAtom)) {
            return windowClass.get();
        }
    }
    return nullptr;
}

} // namespace pw::platform

// Registers a window class for CreateWindowExA; the atom also names the class.
ATOM WINAPI RegisterClassA(const WNDCLASSA* wc)
{
    if (!wc)
        return pw::platform::Fail(ERROR_INVALID_PARAMETER, ATOM(0));
    return pw::platform::WindowClass::Register(*wc);
}
