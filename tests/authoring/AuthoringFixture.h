// Shared ground for the authoring tests: the framework stood up as start-up does, with a "Data"
// folder into which a test writes the cursors, sounds and pictures it needs (cursor art, WAVE
// files and 24-bit BMP files whose pixels are letters of a small colour legend), and readers of
// what a window shows in the same letters.
#pragma once

#include "authoring/palettes/ButtonGrid.h"
#include "authoring/palettes/PaletteClient.h"
#include "authoring/panes/ToolsWindowPane.h"
#include "authoring/resources/KidResources.h"
#include "authoring/tools/CTool.h"
#include "engine/CMovieGroup.h"
#include "engine/CMoviePic.h"
#include "engine/CPlayer.h"
#include "engine/CShow.h"
#include "foundation/Resources.h"
#include "graphics/BitMap.h"
#include "graphics/ColorTable.h"
#include "graphics/Sound.h"
#include "graphics/SoundBytes.h"
#include "ui/FrameworkFixture.h"

#include "platform/backend/Backend.h"
#include "platform/testing/TestDriver.h"
#include "platform/winmm/WinmmTesting.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace authoring {

namespace driver = pw::platform::testing;

// The colours pictures are drawn in, by letter; all are colours of the standard palette.
inline const std::map<char, uint32_t>& Legend()
{
    static const std::map<char, uint32_t> legend = {
        { 'w', 0xFFFFFF },
        { 'k', 0x000000 },
        { 'r', 0xFF0000 },
        { 'g', 0x00FF00 },
        { 'b', 0x0000FF },
        { 'y', 0xFFFF00 },
    };
    return legend;
}

// Records the cells a palette reports, in order.
class Recorder : public pw::authoring::PaletteClient {
public:
    void CellChosen(int16_t index) override { chosen.push_back(index); }
    std::vector<int16_t> chosen;
};

// A picture of one legend letter, `width` x `height`, in PutPicture's form.
inline std::string Plain(char letter, int width, int height)
{
    std::string grid;
    for (int y = 0; y < height; ++y)
        grid += (y ? "|" : "") + std::string(static_cast<size_t>(width), letter);
    return grid;
}

// A pane showing a page of four frames, 40 x 40, as the editing pane does; its stop command stops
// the page's player. It edits nothing and keeps no clients.
class PagePane : public View, public pw::authoring::ToolsWindowPane {
    PW_CLASS_INFO(PagePane)

public:
    PagePane(View* parent, const Rect& bounds)
        : View(parent, bounds, kSizeTopLeft, false, false)
    {
        SmartPtr<CMovieGroup> group = new CMovieGroup(Rect(0, 0, 40, 40));
        group->InsertFrames(1, 3, true, true);
        show = new CShow(group.Get());
    }
    ~PagePane() override { show->Close(); }
    int32_t GetEditedKind() override { return 0; }
    void Edit(int32_t, bool) override { }
    void StoreEdit() override { }
    SmartPtr<CPlayer> GetPlayer() override { return show->GetPlayer(); }
    void DoCommand(int32_t command, int32_t) override
    {
        if (command == kStopCommand)
            show->GetPlayer()->Stop();
    }
    bool IsActivePane() override { return true; }
    void ToggleClient(pw::authoring::PaneClient*) override { }

    bool Plays() { return show->GetPlayer()->IsRunning(); }
    // A white 20 x 20 picture sprite over all four frames with a link in each; answers where it
    // shows.
    Rect AddLinkedSprite()
    {
        auto* group = SmartCast<CMovieGroup>(show->GetMovie().Get());
        SmartPtr<BitMap> picture = new BitMap(20, 20, ColorTable::Setup(8), Color(0), false);
        SmartPtr<CResource> resource = new CResource(SmartPtr<Persistent>(picture.Get()), true);
        int16_t index = group->AddMovieAsSprite(0, 4, new CMoviePic(resource, true));
        SmartPtr<CLink> link = new CLink;
        group->GetSprite(index)->SetLink(0, 4, link.Get());
        Rect shown(0, 0, 0, 0);
        group->GetSprite(index)->GetFrameBounds(0, &shown, nullptr);
        return shown;
    }

    SmartPtr<CShow> show;
};

// A palette layout of one row of 10 x 10 cells.
inline std::unique_ptr<ButtonGrid> RowGrid(int16_t columns)
{
    auto grid = std::make_unique<ButtonGrid>();
    grid->rows = 1;
    grid->columns = columns;
    grid->cellWidth = 10;
    grid->cellHeight = 10;
    return grid;
}

// The sounds the recording sound device was asked to play since its log was last cleared.
inline size_t SoundsPlayed()
{
    size_t count = 0;
    for (const auto& event : pw::platform::winmm::testing::SoundLog())
        count += event.kind == pw::platform::winmm::SoundEvent::Kind::Play;
    return count;
}

class AuthoringTest : public uitest::FrameworkTest {
protected:
    void SetUp() override
    {
        uitest::FrameworkTest::SetUp();
        pw::foundation::SetOsAppForTesting(pw::platform::ProgramInstance());
        pw::authoring::testing::ResetKidResources();
        CTool::SetSoundsOffOption(false);
        // Every tool loads the shared cursors; a program cursor the Data folder lacks is 201.
        CTool::ForgetSharedCursors();
        PutCursor(201, 0);
    }
    // The sets' loaded pictures and sounds, and the playing sound's channel, go while the
    // platform that made them is still up.
    void TearDown() override
    {
        Sound::StopSound();
        CTool::ForgetSharedCursors();
        pw::authoring::testing::ResetKidResources();
        uitest::FrameworkTest::TearDown();
    }

    static std::filesystem::path DataFolder()
    {
        return std::filesystem::path(driver::DriveRoot()) / "plume" / "Data";
    }

    static void PutFile(const std::string& name, const std::vector<uint8_t>& bytes)
    {
        std::ofstream(DataFolder() / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    // A cursor of the program: a 2 x 2 block with its hot spot at (h, 0), so cursors tell apart.
    static void PutCursor(int id, int h)
    {
        std::string art = "hotspot " + std::to_string(h) + " 0\n####\n####\n";
        PutFile(std::to_string(id) + ".cur", std::vector<uint8_t>(art.begin(), art.end()));
    }

    // A short sound of the kid set (number relative to 1000).
    static void PutSound(int number)
    {
        PutFile(std::to_string(1000 + number) + ".wav", sound_bytes::Wave(1, 11025, 8, sound_bytes::Bytes(64, 0x80)));
    }

    // A picture of the kid set from rows of legend letters, separated by '|'.
    static void PutPicture(int number, const std::string& grid)
    {
        std::vector<std::string> rows(1);
        for (char c : grid) {
            if (c == '|')
                rows.emplace_back();
            else if (c != ' ')
                rows.back() += c;
        }
        int32_t width = static_cast<int32_t>(rows[0].size());
        int32_t height = static_cast<int32_t>(rows.size());
        int32_t stride = (width * 3 + 3) & ~3;
        std::vector<uint8_t> bytes = { 'B', 'M' };
        auto put = [&](uint32_t value, int size) {
            for (int i = 0; i < size; ++i)
                bytes.push_back(uint8_t(value >> (8 * i)));
        };
        put(uint32_t(54 + stride * height), 4);
        put(0, 4);
        put(54, 4);
        put(40, 4);
        put(uint32_t(width), 4);
        put(uint32_t(height), 4);
        put(1, 2);
        put(24, 2);
        put(0, 4);
        put(uint32_t(stride * height), 4);
        for (int i = 0; i < 4; ++i)
            put(0, 4);
        for (int32_t y = height - 1; y >= 0; --y) {
            for (int32_t x = 0; x < width; ++x) {
                uint32_t rgb = Legend().at(rows[static_cast<size_t>(y)][static_cast<size_t>(x)]);
                put(rgb & 0xFF, 1);
                put((rgb >> 8) & 0xFF, 1);
                put(rgb >> 16, 1);
            }
            put(0, stride - width * 3);
        }
        PutFile(std::to_string(1000 + number) + ".bmp", bytes);
    }

    // One row of the window's client area as legend letters ('?' for other colours).
    static std::string ShownRow(HWND hwnd, int32_t v, int32_t from, int32_t to)
    {
        driver::RunUntilIdle();
        pw::platform::Frame shown = driver::ReadClientArea(hwnd);
        std::string text;
        for (int32_t h = from; h < to; ++h) {
            const pw::platform::PaletteColor& rgb = shown.palette[shown.At(h, v)];
            char name = '?';
            for (const auto& [letter, color] : Legend()) {
                if (rgb.red == (color >> 16) && rgb.green == ((color >> 8) & 0xFF) && rgb.blue == (color & 0xFF))
                    name = letter;
            }
            text += name;
        }
        return text;
    }
};

} // namespace authoring
