#include "platform/user/clipboard/ClipboardStore.h"

#include "platform/backend/Backend.h"
#include "platform/gdi/Font.h"
#include "platform/kernel/LastError.h"
#include "platform/testing/Reset.h"
#include "platform/user/clipboard/PackedDib.h"

#include <cstring>

namespace pw::platform {

namespace {

const bool registered = testing::RegisterReset([] { ClipboardStore::Get().Reset(); });

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

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

std::string Utf8FromProgramText(const std::string& text)
{
    std::string out;
    for (unsigned char c : text) {
        char32_t unicode = c < 0x80 ? c : gdi::Font::ToUnicode(c);
        AppendUtf8(out, unicode ? unicode : U'?');
    }
    return out;
}

// Characters Windows-1252 cannot hold become "?"; malformed sequences count one "?" a byte.
std::string ProgramTextFromUtf8(const std::string& text)
{
    static const std::map<char32_t, char> reverse = [] {
        std::map<char32_t, char> table;
        for (int c = 0x80; c <= 0xFF; ++c) {
            if (char32_t unicode = gdi::Font::ToUnicode(static_cast<unsigned char>(c)))
                table.emplace(unicode, static_cast<char>(c));
        }
        return table;
    }();
    std::string out;
    for (size_t i = 0; i < text.size();) {
        auto lead = static_cast<unsigned char>(text[i]);
        int extra = lead < 0x80 ? 0 : (lead >> 5) == 6 ? 1 : (lead >> 4) == 14 ? 2 : (lead >> 3) == 30 ? 3 : -1;
        char32_t c = extra == 0 ? lead : extra == 1 ? (lead & 0x1F) : extra == 2 ? (lead & 0x0F) : (lead & 0x07);
        bool valid = extra >= 0 && i + static_cast<size_t>(extra) < text.size();
        for (int k = 1; valid && k <= extra; ++k) {
            auto next = static_cast<unsigned char>(text[i + static_cast<size_t>(k)]);
            valid = (next & 0xC0) == 0x80;
            c = (c << 6) | (next & 0x3F);
        }
        if (!valid) {
            out += '?';
            ++i;
            continue;
        }
        i += static_cast<size_t>(extra) + 1;
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            auto found = reverse.find(c);
            out += found != reverse.end() ? found->second : '?';
        }
    }
    return out;
}

} // namespace pw::platform
