#include "foundation/Clipboard.h"

#include "foundation/Alert.h"
#include "foundation/Checks.h"
#include "foundation/Exception.h"
#include "foundation/ListData.h"
#include "foundation/String.h"
#include "foundation/SystemScrap.h"

#include <windows.h>

#include <algorithm>

PW_DEFINE_CLASS(Clipboard, &pw::foundation::CreateFunction<Clipboard>, nullptr, SmartImplementation)
PW_DEFINE_COPY_SLOTS(Clipboard)

pw::foundation::PictureImporter& pw::foundation::ClipboardPictureImporter()
{
    static PictureImporter importer = nullptr;
    return importer;
}

ClipboardOpener::ClipboardOpener()
{
    CheckCall(OpenClipboard(Alert::OwnerWindow()), PW_HERE);
    open = true;
}

ClipboardOpener::~ClipboardOpener()
{
    if (open)
        CloseClipboard();
}

void ClipboardOpener::Close()
{
    open = false;
    BOOL closed = CloseClipboard();
    if (GetLastError() == ERROR_INVALID_PARAMETER)
        SetLastError(NO_ERROR);
    CheckCall(closed, PW_HERE);
}

Clipboard::Clipboard() = default;

void Clipboard::Put(Smart* object)
{
    if (object == contents.Get())
        return;
    contents = object;
    marker = kMarker;
    flags &= ~kImportPending;
}

SmartPtr<Smart> Clipboard::Contents()
{
    if (flags & kImportPending)
        Import();
    return contents;
}

bool Clipboard::PasteInto(const SmartPtr<ListData>& list)
{
    SmartPtr<Smart> pasted = Contents();
    if (ListData* items = SmartCast<ListData>(pasted.Get()))
        return list->InsertConverted(0, *items);
    return list->InsertObject(0, pasted.Get());
}

void Clipboard::Clear()
{
    contents = nullptr;
    marker = kMarker;
    flags &= ~kImportPending;
}

void Clipboard::Swap(Clipboard& other)
{
    Clipboard mine(*this);
    *this = other;
    other = mine;
}

// Deactivation exports the contents when they are current; while an import is pending the system
// clipboard may hold newer data, so nothing is exported and nothing is remembered.
void Clipboard::AppActivated(bool active)
{
    if (marker != kMarker)
        return;
    if (active) {
        flags |= kImportPending;
    } else if (!(flags & kImportPending)) {
        Export();
        RememberSystemClipboard();
    }
}

void Clipboard::RememberSystemClipboard()
{
    systemSequence = GetClipboardSequenceNumber();
    systemKnown = true;
}

// Only a text goes out; the system clipboard is emptied first so that nothing older stays
// beside it. A block that cannot be had skips the export.
void Clipboard::Export()
{
    if (marker != kMarker)
        return;
    flags &= ~kImportPending;
    auto* scrap = SmartCast<SystemScrap>(contents.Get());
    auto* text = scrap ? SmartCast<String>(scrap) : nullptr;
    if (!text)
        return;
    uint32_t size = text->Length() + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, size);
    if (!block)
        return;
    auto* chars = static_cast<char*>(GlobalLock(block));
    if (!chars) {
        GlobalFree(block);
        return;
    }
    text->GetCString(chars, size);
    GlobalUnlock(block);
    ClipboardOpener opener;
    CheckCall(EmptyClipboard(), PW_HERE);
    if (!SetClipboardData(CF_TEXT, block)) {
        GlobalFree(block);
        CheckNotNull(nullptr, PW_HERE);
    }
    opener.Close();
}

// Takes what the system clipboard offers when it changed since the contents were last matched
// with it: a text, else a picture (through the graphics floor's importer). Data that cannot be had
// is skipped silently; a change with nothing usable leaves the clipboard empty.
void Clipboard::Import()
{
    if (marker != kMarker)
        return;
    if (systemKnown && GetClipboardSequenceNumber() == systemSequence) {
        flags &= ~kImportPending;
        return;
    }
    Clear();
    ClipboardOpener opener;
    bool done = false;
    if (IsClipboardFormatAvailable(CF_TEXT)) {
        HANDLE block = GetClipboardData(CF_TEXT);
        const char* chars = block ? static_cast<const char*>(GlobalLock(block)) : nullptr;
        if (chars) {
            SIZE_T size = GlobalSize(block);
            SmartPtr<String> text(new String);
            text->InsertChars(chars, 0, static_cast<uint32_t>(std::find(chars, chars + size, '\0') - chars));
            Put(text.Get());
            GlobalUnlock(block);
            done = true;
        }
    }
    auto importer = pw::foundation::ClipboardPictureImporter();
    if (!done && importer && (IsClipboardFormatAvailable(CF_BITMAP) || IsClipboardFormatAvailable(CF_DIB))) {
        HANDLE block = GetClipboardData(CF_DIB);
        const void* bytes = block ? GlobalLock(block) : nullptr;
        if (bytes) {
            try {
                SmartPtr<Smart> picture(importer(bytes, static_cast<uint32_t>(GlobalSize(block))));
                if (picture.Valid())
                    Put(picture.Get());
            } catch (Exception*) {
            }
            GlobalUnlock(block);
        }
    }
    opener.Close();
    flags &= ~kImportPending;
    RememberSystemClipboard();
}
