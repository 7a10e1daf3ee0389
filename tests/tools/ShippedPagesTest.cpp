// The pages the build makes into the media folders, read as the program reads pages: every folder
// the media tabs open holds several, each of the size its browser cells show well, and every page
// of the web-link folders gives the browser's hotlink copy a web link at frame 0.
#include "engine/CLink.h"
#include "engine/CMovieGroup.h"
#include "engine/CShow.h"
#include "engine/CSprite.h"
#include "engine/ShowFileType.h"
#include "export/LinkHREF.h"
#include "foundation/MemoryStream.h"
#include "foundation/ObjectFile.h"

#include "ShippedData.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using shipped::kData;

enum class Holds { animation, background, picture, hotlink };

struct FolderCase {
    const char* folder;
    Holds holds;
    // The page's size; 0: any.
    int32_t width;
    int32_t height;
};

// Backgrounds cover a new page (350 x 350) when put in its middle, and have the 4 : 3 shape of
// their browser cells, as the samples have; pictures and dividers are as large as they are put on
// a page; hotlink buttons are their browser cells' size.
const std::vector<FolderCase> kFolders = {
    { "Samples", Holds::animation, 468, 351 },
    { "Backgrounds", Holds::background, 468, 351 },
    { "Dividers", Holds::picture, 320, 16 },
    { "Pictures", Holds::picture, 96, 96 },
    { "Yahoo", Holds::hotlink, 199, 75 },
    { "CoolSites", Holds::hotlink, 160, 20 },
    { "KidClubs", Holds::hotlink, 102, 48 },
};

SmartPtr<CShow> ReadPage(const fs::path& path)
{
    std::vector<uint8_t> bytes = shipped::ReadBytes(path);
    SmartPtr<MemoryStream> stream = new MemoryStream;
    stream->Write(bytes.data(), uint32_t(bytes.size()));
    stream->Seek(0, Stream::kFromStart);
    SmartPtr<Smart> root = SmartPtr<ObjectFile>(new ObjectFile(GetGenericTypeIndex(), stream.Get()))->Read();
    return SmartPtr<CShow>(SmartCast<CShow>(root.Get()));
}

std::string Name(const CSprite& sprite)
{
    SmartPtr<String> name = sprite.GetName();
    return name.Valid() ? pw::foundation::TextOf(*name.Get()) : std::string();
}

Rect PlaceAt(CSprite& sprite, int16_t frame)
{
    Rect place;
    sprite.GetFrameBounds(frame, &place, nullptr);
    return place;
}

// The browser's hotlink copy takes the last sprite with a link at frame 0.
CLink* Hotlink(CMovieGroup& group)
{
    for (auto index = static_cast<int16_t>(group.NumSprites() - 1); index >= 0; --index) {
        if (CLink* link = group.GetSprite(index)->LinkAtFrame(0))
            return link;
    }
    return nullptr;
}

void ExpectHolds(Holds holds, CMovieGroup& group)
{
    ASSERT_GE(group.NumSprites(), 1u);
    CSprite& first = *group.GetSprite(0);
    switch (holds) {
    case Holds::animation: {
        EXPECT_GE(group.NumFrames(), 20);
        EXPECT_EQ(Name(first), "__Background");
        bool moves = false;
        for (int16_t index = 1; index < static_cast<int16_t>(group.NumSprites()); ++index) {
            CSprite& sprite = *group.GetSprite(index);
            moves = moves || PlaceAt(sprite, 0) != PlaceAt(sprite, group.NumFrames() / 2);
            EXPECT_FALSE(PlaceAt(sprite, 0).IsEmpty()) << Name(sprite) << " shows in the first frame, the preview";
        }
        EXPECT_TRUE(moves);
        break;
    }
    case Holds::background:
        EXPECT_EQ(group.NumSprites(), 1u);
        EXPECT_EQ(Name(first), "__Background");
        EXPECT_EQ(PlaceAt(first, 0), Rect(0, 0, 468, 351));
        break;
    case Holds::picture:
        EXPECT_EQ(group.NumSprites(), 1u);
        EXPECT_EQ(Hotlink(group), nullptr);
        break;
    case Holds::hotlink: {
        EXPECT_EQ(group.NumSprites(), 1u);
        CLink* link = Hotlink(group);
        ASSERT_NE(link, nullptr) << "the browser answers \"No hotlinks in that file.\"";
        EXPECT_EQ(link->GetKind(), CLink::kWebLink);
        auto* href = SmartCast<LinkHREF>(link->GetHREF().Get());
        ASSERT_NE(href, nullptr);
        std::string address = pw::foundation::TextOf(href->GetHREF());
        EXPECT_EQ(address.rfind("https://", 0), 0u) << address;
        EXPECT_GT(address.size(), 12u) << address;
        break;
    }
    }
}

class ShippedPages : public shipped::ShippedData { };

TEST_F(ShippedPages, EveryMediaFolderHoldsSeveralPagesOfWhatItsTabPutsOnAPage)
{
    for (const FolderCase& c : kFolders) {
        size_t pages = 0;
        for (const auto& entry : fs::directory_iterator(kData / c.folder)) {
            if (entry.path().extension() != ".mvi")
                continue;
            ++pages;
            SCOPED_TRACE(entry.path().string());
            SmartPtr<CShow> show = ReadPage(entry.path());
            ASSERT_TRUE(show.Valid());
            auto* group = SmartCast<CMovieGroup>(show->GetMovie().Get());
            ASSERT_NE(group, nullptr);
            Rect bounds;
            group->GetBounds(bounds);
            EXPECT_EQ(bounds, Rect(0, 0, c.width, c.height));
            ExpectHolds(c.holds, *group);
            show->Close();
        }
        EXPECT_GE(pages, 5u) << c.folder;
    }
}

} // namespace
