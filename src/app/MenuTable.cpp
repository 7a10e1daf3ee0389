#include "app/MenuTable.h"

namespace pw::app {

namespace {

using enum MenuCommand;

// The ellipsis of a title that opens a dialog, one byte as the menus store it.
#define ELLIPSIS "\x85"

constexpr MenuEntry kEntries[] = {
    { "File", "New Page", 'N', kNewPage },
    { "File", "Open" ELLIPSIS, 'O', kOpen },
    { "File", "Import" ELLIPSIS, 'M', kImport },
    { "File", "Close", 'W', kClose },
    { "File", nullptr, 0, kSeparator },
    { "File", "Save", 'S', kSave },
    { "File", "Save As" ELLIPSIS, 0, kSaveAs },
    { "File", nullptr, 0, kSeparator },
    { "File", "Publish" ELLIPSIS, 'P', kPublish },
    { "File", nullptr, 0, kSeparator },
    { "File", "Quit", 'Q', kQuit },
    { "Edit", "Cut", 'X', kCut },
    { "Edit", "Copy", 'C', kCopy },
    { "Edit", "Paste", 'V', kPaste },
    { "Edit", "Delete", 0, kDelete },
    { "Edit", nullptr, 0, kSeparator },
    { "Edit", "Bring Forwards", ']', kBringForwards },
    { "Edit", "Send Backwards", '[', kSendBackwards },
    { "Edit", nullptr, 0, kSeparator },
    { "Edit", "Undo", 'Z', kUndo },
    { "Edit", nullptr, 0, kSeparator },
    { "Edit", "Sound On", '1', kSoundOn },
    { "LinkTo", "URL" ELLIPSIS, 'L', kLinkURL },
    { "LinkTo", "E-Mail" ELLIPSIS, 'E', kLinkEMail },
    { "Text", nullptr, 0, kTextEntries },
    { "Text", nullptr, 0, kSeparator },
    { "Text", "Pick Color" ELLIPSIS, 0, kPickColor },
};

#undef ELLIPSIS

} // namespace

std::span<const MenuEntry> MenuTable()
{
    return kEntries;
}

} // namespace pw::app
