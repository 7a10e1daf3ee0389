#pragma once

#include "foundation/SmartImplementation.h"
#include "foundation/SmartPtr.h"

#include <cstdint>

class ListData;

// The application's own clipboard: one object of any class, the result of Cut and Copy. The
// system clipboard is consulted only at the edges: when the application is deactivated a text on
// this clipboard is exported to the system clipboard (emptied first), and after the application is
// activated again the next question for the contents imports what the system clipboard offers
// (text, else a picture) when the system clipboard changed in between; otherwise the own contents
// stay. The application object owns it and reports activation changes.
class Clipboard : public SmartImplementation {
    PW_CLASS_INFO(Clipboard)
    PW_COPY_SLOTS

public:
    static constexpr uint32_t kMarker = 0x10000;

    Clipboard();
    Clipboard(const Clipboard&) = default;
    Clipboard& operator=(const Clipboard&) = default;

    // The object becomes the contents (nothing happens when it already is).
    void Put(Smart* object);
    // The contents, imported first when the system clipboard may hold newer data; may be empty.
    SmartPtr<Smart> Contents();
    // Inserts the contents in front of the list: a list's items, or the object itself (null for
    // an empty clipboard); answers the insertion's result.
    bool PasteInto(const SmartPtr<ListData>& list);
    void Clear();
    void Swap(Clipboard& other);
    void AppActivated(bool active);

private:
    static constexpr uint8_t kImportPending = 1;

    void Import();
    void Export();
    // The system clipboard's change count now stands for the contents.
    void RememberSystemClipboard();

    SmartPtr<Smart> contents;
    uint32_t marker { kMarker };
    uint8_t flags { kImportPending };
    bool systemKnown { false };
    uint32_t systemSequence { 0 };
};

// Holds the system clipboard open for the main window while it lives. Close reports a failure;
// the destructor closes quietly when Close was not reached.
class ClipboardOpener {
public:
    ClipboardOpener();
    ~ClipboardOpener();

    ClipboardOpener(const ClipboardOpener&) = delete;
    ClipboardOpener& operator=(const ClipboardOpener&) = delete;

    void Close();

private:
    bool open { false };
};

namespace pw::foundation {

// The graphics floor's picture made from a packed DIB (header, colour table, rows) of `size`
// bytes, which it must not trust; null (or a thrown exception) when it cannot read it. Set at
// start-up; unset, pictures are not imported.
using PictureImporter = Smart* (*)(const void* packedDib, uint32_t size);
PictureImporter& ClipboardPictureImporter();

} // namespace pw::foundation
