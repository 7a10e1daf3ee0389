#include "platform/user/clipboard/ClipboardStore.h"

#include "platform/backend/Backend.h"
#include "platform/kernel/CodePage.h"
#include "platform/kernel/LastError.h"
#include "platform/testing/Reset.h"
#include "platform/user/clipboard/PackedDib.h"

#include <cstring>

namespace pw::platform {

namespace {

const bool registered = testing::RegisterReset([] { ClipboardStore::Get().Reset(); });

} // namespace

ClipboardStore& ClipboardStore::Get()
{
    static ClipboardStore store;
    return store;
}

void ClipboardStore::Reset()
{
    *this = ClipboardStore();
}

void ClipboardStore::Open(HWND window)
{
    if (!open)
        SyncWithBackend();
    open = true;
    openedBy = window;
}

void ClipboardStore::Release(HANDLE handle, UINT format)
{
    for (const auto& [other, held] : data) {
        if (held == handle && other != format)
            return;
    }
    if (format == CF_BITMAP)
        DeleteObject(handle);
    else
        GlobalFree(handle);
}

void ClipboardStore::ReleaseMade()
{
    LastErrorKeeper keeper;
    for (const auto& [format, handle] : made)
        Release(handle, format);
    made.clear();
}

// Frees the data put here and the data made from it, leaving the clipboard empty.
void ClipboardStore::ReleaseAll()
{
    LastErrorKeeper keeper;
    ReleaseMade();
    std::map<UINT, HANDLE> held;
    held.swap(data);
    for (const auto& [format, handle] : held)
        Release(handle, format);
}

void ClipboardStore::Empty()
{
    ReleaseAll();
    owner = openedBy;
    ++sequence;
}

void ClipboardStore::Put(UINT format, HANDLE handle)
{
    LastErrorKeeper keeper;
    ReleaseMade();
    auto existing = data.find(format);
    if (existing != data.end() && existing->second != handle) {
        HANDLE old = existing->second;
        data.erase(existing);
        Release(old, format);
    }
    data[format] = handle;
    if (format == CF_TEXT)
        ChangeBackendText(Utf8FromProgramText(TextOf(handle).value_or(std::string())));
    ++sequence;
}

HANDLE ClipboardStore::Data(UINT format)
{
    if (auto held = data.find(format); held != data.end())
        return held->second;
    if (auto done = made.find(format); done != made.end())
        return done->second;
    HANDLE result = nullptr;
    if (format == CF_DIB && Has(CF_BITMAP))
        result = PackedDibFromBitmap(static_cast<HBITMAP>(data[CF_BITMAP]));
    else if (format == CF_BITMAP && Has(CF_DIB))
        result = BitmapFromPackedDib(data[CF_DIB]);
    if (result)
        made[format] = result;
    return result;
}

// What the backend reports after the change is what counts as seen: a backend that could not
// take the text must not make the clipboard's own text look foreign later.
void ClipboardStore::ChangeBackendText(const std::string& text)
{
    SetBackendClipboardText(text);
    backendText = GetBackendClipboardText();
}

void ClipboardStore::SyncWithBackend()
{
    std::optional<std::string> current = GetBackendClipboardText();
    if (current == backendText)
        return;
    backendText = current;
    ReleaseAll();
    if (current && !current->empty()) {
        if (HGLOBAL block = BlockOf(ProgramTextFromUtf8(*current)))
            data[CF_TEXT] = block;
    }
    owner = nullptr;
    ++sequence;
}

std::optional<std::string> ClipboardStore::TextOf(HANDLE block)
{
    LastErrorKeeper keeper;
    SIZE_T size = GlobalSize(block);
    const auto* text = static_cast<const char*>(GlobalLock(block));
    if (!text)
        return std::nullopt;
    std::string result(text, strnlen(text, size));
    GlobalUnlock(block);
    return result;
}

HGLOBAL ClipboardStore::BlockOf(const std::string& text)
{
    LastErrorKeeper keeper;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, text.size() + 1);
    if (!block)
        return nullptr;
    auto* bytes = static_cast<char*>(GlobalLock(block));
    std::memcpy(bytes, text.c_str(), text.size() + 1);
    GlobalUnlock(block);
    return block;
}

} // namespace pw::platform
