#include "platform/user/clipboard/ClipboardTesting.h"

#include "platform/user/clipboard/ClipboardStore.h"

#include <cstring>

namespace pw::platform::testing {

namespace {

// Runs `change` with the clipboard opened as another program would, unless the program has it.
template <typename Change>
bool AsOtherProgram(Change change)
{
    if (!OpenClipboard(nullptr))
        return false;
    EmptyClipboard();
    bool done = change();
    CloseClipboard();
    return done;
}

} // namespace

bool PutSystemClipboardText(const std::string& text)
{
    if (ClipboardStore::Get().IsOpen())
        return false;
    return AsOtherProgram([&] {
        HGLOBAL block = ClipboardStore::BlockOf(text);
        return block && SetClipboardData(CF_TEXT, block) != nullptr;
    });
}

bool PutSystemClipboardDib(const std::vector<uint8_t>& packedDib)
{
    if (ClipboardStore::Get().IsOpen())
        return false;
    return AsOtherProgram([&] {
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, packedDib.size());
        if (!block)
            return false;
        if (!packedDib.empty())
            std::memcpy(GlobalLock(block), packedDib.data(), packedDib.size());
        GlobalUnlock(block);
        return SetClipboardData(CF_DIB, block) != nullptr;
    });
}

bool EmptySystemClipboard()
{
    if (ClipboardStore::Get().IsOpen())
        return false;
    return AsOtherProgram([] { return true; });
}

std::optional<std::string> SystemClipboardText()
{
    if (ClipboardStore::Get().IsOpen() || !OpenClipboard(nullptr))
        return std::nullopt;
    std::optional<std::string> text;
    if (HANDLE block = GetClipboardData(CF_TEXT))
        text = ClipboardStore::TextOf(block);
    CloseClipboard();
    return text;
}

std::optional<std::vector<uint8_t>> SystemClipboardDib()
{
    if (ClipboardStore::Get().IsOpen() || !OpenClipboard(nullptr))
        return std::nullopt;
    std::optional<std::vector<uint8_t>> dib;
    if (HANDLE block = GetClipboardData(CF_DIB)) {
        SIZE_T size = GlobalSize(block);
        if (const auto* bytes = static_cast<const uint8_t*>(GlobalLock(block))) {
            dib.emplace(bytes, bytes + size);
            GlobalUnlock(block);
        }
    }
    CloseClipboard();
    return dib;
}

bool IsClipboardOpen()
{
    return ClipboardStore::Get().IsOpen();
}

} // namespace pw::platform::testing
