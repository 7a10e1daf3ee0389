#include "platform/user/controls/EditClipboard.h"

#include "platform/kernel/LastError.h"

#include <cstring>

namespace pw::platform::user {

namespace {

bool PutText(std::string_view text)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (!block)
        return false;
    auto* bytes = static_cast<char*>(GlobalLock(block));
    if (!bytes) {
        GlobalFree(block);
        return false;
    }
    std::memcpy(bytes, text.data(), text.size());
    bytes[text.size()] = '\0';
    GlobalUnlock(block);
    // From here the block is the clipboard's, unless it refuses it.
    if (SetClipboardData(CF_TEXT, block))
        return true;
    GlobalFree(block);
    return false;
}

} // namespace

bool CopyToClipboard(HWND owner, std::string_view text)
{
    LastErrorKeeper keeper;
    if (!OpenClipboard(owner))
        return false;
    bool copied = EmptyClipboard() && PutText(text);
    CloseClipboard();
    return copied;
}

std::optional<std::string> TextFromClipboard(HWND owner)
{
    LastErrorKeeper keeper;
    if (!IsClipboardFormatAvailable(CF_TEXT) || !OpenClipboard(owner))
        return std::nullopt;
    std::optional<std::string> text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const auto* bytes = static_cast<const char*>(GlobalLock(data))) {
            text = std::string(bytes, strnlen(bytes, GlobalSize(data)));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

} // namespace pw::platform::user
