#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace pw::platform {

// A registered window class: the procedure and defaults every window made from it starts with.
// The registry owns the classes; windows keep a borrowed pointer, valid until the test reset.
class WindowClass {
public:
    explicit WindowClass(const WNDCLASSA& wc, ATOM atom);

    const std::string& Name() const { return name; }
    ATOM Atom() const { return atom; }
    UINT Style() const { return style; }
    WNDPROC Procedure() const { return procedure; }
    int WindowExtraBytes() const { return windowExtraBytes; }
    HCURSOR Cursor() const { return cursor; }
    HBRUSH Background() const { return background; }
    const std::string& MenuName() const { return menuName; }

    // Registers a class; 0 with the last error set when the record is unusable or the name is taken.
    static ATOM Register(const WNDCLASSA& wc);

    // The class named by `nameOrAtom` (a string compared without regard to case, or an atom made
    // with MAKEINTATOM), or null.
    static WindowClass* Find(LPCSTR nameOrAtom);

private:
    std::string name;
    ATOM atom { 0 };
    UINT style { 0 };
    WNDPROC procedure { nullptr };
    int windowExtraBytes { 0 };
    HCURSOR cursor { nullptr };
    HBRUSH background { nullptr };
    std::string menuName;
};

// Case-insensitive comparison of ASCII names, as USER compares class names and window titles.
bool SameNameIgnoringCase(const std::string& a, const char* b);

} // namespace pw::platform
