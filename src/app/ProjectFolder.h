#pragma once

#include "foundation/FileReference.h"
#include "foundation/SmartPtr.h"
#include "foundation/String.h"

#include <cstdint>
#include <functional>

namespace pw::app {

// The project of one run: a folder named by the child below the start-up folder's "Projects",
// where the pages and their export live. The application keeps one and sets it up at its first
// new page; later new pages only reset the name to the default. Asking for the name is a
// function, so the checks can run without the dialog.
class ProjectFolder {
public:
    // Shows the name (the default at first) and leaves the typed one in it; false on cancel.
    using NameAsker = std::function<bool(const SmartPtr<String>& name)>;

    explicit ProjectFolder(NameAsker ask);

    // The first time: enters "Projects" (made when missing, after message 202 names it), then asks
    // for a name until one passes the checks (each refusal alerted, the dialog shown again with the
    // corrected name), makes that folder when needed and enters it. A cancel throws
    // UserCancelException and leaves the project not set up.
    void Ensure();

    bool IsSetUp() const { return setUp; }
    // The accepted name after the set-up; every later Ensure resets it to the default "Project".
    const SmartPtr<String>& GetName() const { return name; }
    // Publishing names the project after the folder its pages are stored in.
    void SetName(const String& newName);
    // Empty until the project is set up.
    const SmartPtr<FileReference>& GetFolder() const { return folder; }

private:
    static void EnterProjectsFolder();
    // True when the name was accepted and its folder entered.
    bool TryName(const String& typed);

    NameAsker ask;
    uint16_t limit { 0 };
    bool setUp { false };
    SmartPtr<String> name;
    SmartPtr<FileReference> folder;
};

} // namespace pw::app
