#include "platform/user/Cursors.h"

#include "platform/testing/Reset.h"
#include "platform/user/CursorArt.h"

#include <windows.h>

#include <map>
#include <memory>
#include <sstream>
#include <vector>

namespace pw::platform {

namespace {

// Cursor handles are small counted values of their own, apart from windows and GDI objects.
constexpr uintptr_t kFirstHandle = 0x7C000;
constexpr uintptr_t kHandleStep = 4;
constexpr UINT kFirstSystemId = 32512;
// Cursor files are a few hundred bytes; anything much longer is not one.
constexpr DWORD kMaxFileBytes = 16 * 1024;

struct State {
    std::vector<CursorImage> images;
    std::map<UINT, HCURSOR> byId;
    HCURSOR current = nullptr;
    bool currentChosen = false;
    std::optional<std::string> dataFolder;
};

State& TheState()
{
    static State state;
    return state;
}

const bool registered = testing::RegisterReset([] { TheState() = State {}; });

HCURSOR Add(const CursorImage& image)
{
    auto& images = TheState().images;
    images.push_back(image);
    return reinterpret_cast<HCURSOR>(kFirstHandle + (images.size() - 1) * kHandleStep);
}

const char* SystemArt(UINT id)
{
    switch (id) {
    case 32512: // IDC_ARROW
    case 32516: // IDC_UPARROW
    case 32642: // IDC_SIZENWSE
    case 32643: // IDC_SIZENESW
    case 32644: // IDC_SIZEWE
    case 32645: // IDC_SIZENS
    case 32646: // IDC_SIZEALL
    case 32648: // IDC_NO
        return kArrowArt;
    case 32513: return kIBeamArt;
    case 32514: // IDC_WAIT
    case 32650: // IDC_APPSTARTING
        return kWaitArt;
    case 32515: return kCrossArt;
    default: return nullptr;
    }
}

// The Data folder: inside the current folder as the program first asks for one of its cursors,
// which is the start-up folder (the file dialogs change the current folder only later).
std::string DataFolder()
{
    State& s = TheState();
    if (!s.dataFolder) {
        char buffer[MAX_PATH] {};
        DWORD length = GetCurrentDirectoryA(MAX_PATH, buffer);
        std::string folder = length > 0 && length < MAX_PATH ? std::string(buffer, length) : std::string("c:\\");
        if (folder.back() != '\\')
            folder += '\\';
        s.dataFolder = folder + "Data\\";
    }
    return *s.dataFolder;
}

std::optional<std::string> ReadSmallFile(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::string text(kMaxFileBytes + 1, '\0');
    DWORD got = 0;
    BOOL ok = ReadFile(file, text.data(), kMaxFileBytes + 1, &got, nullptr);
    CloseHandle(file);
    if (!ok || got > kMaxFileBytes)
        return std::nullopt;
    text.resize(got);
    return text;
}

} // namespace

std::optional<CursorImage> ParseCursorArt(const std::string& text)
{
    std::istringstream lines(text);
    std::string line;
    CursorImage image;
    bool hotSpotSeen = false;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line[0] == ';')
            continue;
        if (!hotSpotSeen) {
            if (line.empty())
                continue;
            std::istringstream words(line);
            std::string keyword;
            if (!(words >> keyword >> image.hotSpot.x >> image.hotSpot.y) || keyword != "hotspot")
                return std::nullopt;
            hotSpotSeen = true;
            continue;
        }
        if (line.empty())
            break;
        if (line.size() > CursorImage::kSize || image.height == CursorImage::kSize)
            return std::nullopt;
        for (size_t x = 0; x < line.size(); ++x) {
            CursorImage::Pixel pixel;
            switch (line[x]) {
            case '.': pixel = CursorImage::Clear; break;
            case '#': pixel = CursorImage::Black; break;
            case 'o': pixel = CursorImage::White; break;
            case '~': pixel = CursorImage::Invert; break;
            default: return std::nullopt;
            }
            image.pixels[static_cast<size_t>(image.height) * CursorImage::kSize + x] = pixel;
        }
        image.width = std::max(image.width, static_cast<int>(line.size()));
        ++image.height;
    }
    if (!hotSpotSeen || image.height == 0 || image.hotSpot.x < 0 || image.hotSpot.y < 0
        || image.hotSpot.x >= image.width || image.hotSpot.y >= image.height)
        return std::nullopt;
    return image;
}

HCURSOR Cursors::System(UINT id)
{
    State& s = TheState();
    if (auto it = s.byId.find(id); it != s.byId.end())
        return it->second;
    const char* art = id >= kFirstSystemId ? SystemArt(id) : nullptr;
    if (!art)
        return nullptr;
    // Ids that share art share the handle, so the arrow is one cursor whatever it was asked as.
    HCURSOR handle = nullptr;
    for (auto& [otherId, otherHandle] : s.byId) {
        if (otherId >= kFirstSystemId && SystemArt(otherId) == art)
            handle = otherHandle;
    }
    if (!handle)
        handle = Add(*ParseCursorArt(art));
    s.byId[id] = handle;
    return handle;
}

HCURSOR Cursors::Program(UINT id)
{
    State& s = TheState();
    if (auto it = s.byId.find(id); it != s.byId.end())
        return it->second;
    std::optional<std::string> text = ReadSmallFile(DataFolder() + std::to_string(id) + ".cur");
    std::optional<CursorImage> image = text ? ParseCursorArt(*text) : std::nullopt;
    if (!image)
        return nullptr;
    HCURSOR handle = Add(*image);
    s.byId[id] = handle;
    return handle;
}

const CursorImage* Cursors::Find(HCURSOR cursor)
{
    auto value = reinterpret_cast<uintptr_t>(cursor);
    auto& images = TheState().images;
    if (value < kFirstHandle || (value - kFirstHandle) % kHandleStep != 0)
        return nullptr;
    size_t index = (value - kFirstHandle) / kHandleStep;
    return index < images.size() ? &images[index] : nullptr;
}

HCURSOR Cursors::Current()
{
    State& s = TheState();
    if (!s.currentChosen) {
        s.currentChosen = true;
        s.current = System(kFirstSystemId);
    }
    return s.current;
}

HCURSOR Cursors::Set(HCURSOR cursor)
{
    HCURSOR previous = Current();
    TheState().current = cursor;
    return previous;
}

void Cursors::Draw(Frame& frame, POINT position)
{
    const CursorImage* image = Find(Current());
    if (!image)
        return;
    for (int y = 0; y < image->height; ++y) {
        int fy = position.y - image->hotSpot.y + y;
        if (fy < 0 || fy >= frame.height)
            continue;
        for (int x = 0; x < image->width; ++x) {
            int fx = position.x - image->hotSpot.x + x;
            if (fx < 0 || fx >= frame.width)
                continue;
            uint8_t& pixel = frame.At(fx, fy);
            switch (image->At(x, y)) {
            case CursorImage::Clear: break;
            case CursorImage::Black: pixel = 0; break;
            case CursorImage::White: pixel = 255; break;
            // Index i and 255 - i hold complementary colours in the system palette.
            case CursorImage::Invert: pixel = static_cast<uint8_t>(255 - pixel); break;
            }
        }
    }
}

} // namespace pw::platform
