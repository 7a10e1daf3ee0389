// The class records of the program's classes: which ones make objects by themselves, and which
// convert objects of other classes, in what order.
#include "engine/CDelta.h"
#include "engine/CFrameIndex.h"
#include "engine/CInterpolater.h"
#include "engine/CMovieGroup.h"
#include "engine/CMoviePic.h"
#include "engine/CMovieText.h"
#include "engine/CPlayList.h"
#include "engine/CResource.h"
#include "engine/CShow.h"
#include "engine/CSprite.h"
#include "engine/CStamp.h"
#include "engine/CTrackList.h"
#include "engine/legacy/CArea.h"
#include "engine/legacy/CHandleSaver.h"
#include "engine/legacy/CListSaver.h"
#include "engine/legacy/CSound.h"
#include "foundation/Clipboard.h"
#include "foundation/TypeMisMatch.h"
#include "graphics/ClippedImage.h"
#include "graphics/DDBitMap.h"
#include "graphics/DIBSection.h"
#include "graphics/DIBitMap.h"
#include "graphics/ScaleTrans.h"
#include "graphics/Translation.h"
#include "ui/MenuBar.h"
#include "ui/StyledText.h"

#include "EngineFixture.h"
#include "graphics/BitMapFixture.h"
#include "graphics/PortFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Exactly these classes make a default object from their record.
TEST(ClassRecords, OnlyTheListedClassesCreateObjects)
{
    const ClassInfo* creating[] = { &CInterpolater::classInfo, &CJumpFrame::classInfo, &CPlayList::classInfo,
        &CLink::classInfo, &MenuBar::classInfo, &String::classInfo, &ListData::classInfo,
        &SmartImplementation::classInfo, &DDBitMap::classInfo, &DIBitMap::classInfo, &DIBSection::classInfo,
        &Clipboard::classInfo, &FileReference::classInfo };
    for (const ClassInfo* record : creating) {
        SCOPED_TRACE(record->GetName());
        EXPECT_TRUE(record->CanCreate());
        SmartPtr<Smart> made(record->CreateObject());
        ASSERT_TRUE(made.Valid());
        EXPECT_EQ(made->GetClassInfo(), record);
    }
    const ClassInfo* others[] = { &StyledText::classInfo, &CDelta::classInfo, &CFrameIndex::classInfo,
        &CJumpMovie::classInfo, &CTrackList::classInfo, &CXform::classInfo, &CResource::classInfo,
        &PathPoint::classInfo, &CHandleSaver::classInfo, &CListSaver::classInfo, &CSound::classInfo,
        &ScaleTrans::classInfo, &Area::classInfo, &Translation::classInfo, &CMovie::classInfo,
        &CSprite::classInfo, &BitMap::classInfo, &CShow::classInfo };
    for (const ClassInfo* record : others) {
        SCOPED_TRACE(record->GetName());
        EXPECT_FALSE(record->CanCreate());
        EXPECT_EQ(record->CreateObject(), nullptr);
    }
}

// Movies, stamps, frame indexes, links and the old-format records are what their one parent is:
// the registry finds no reference-counting class among their kinds, so a check that expects one
// refuses them by name, while every check for a stored object accepts them.
TEST(ClassRecords, RecordsWithOneParentAnswerOnlyForItsLine)
{
    struct Case {
        const ClassInfo* record;
        const ClassInfo* parent;
    } cases[] = {
        { &CMovie::classInfo, &Persistent::classInfo }, { &CStamp::classInfo, &Image::classInfo },
        { &CFrameIndex::classInfo, &Persistent::classInfo }, { &CLink::classInfo, &Persistent::classInfo },
        { &CSound::classInfo, &Persistent::classInfo }, { &CListSaver::classInfo, &Persistent::classInfo },
        { &CArea::classInfo, &Persistent::classInfo }, { &CHandleSaver::classInfo, &Persistent::classInfo },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.record->GetName());
        EXPECT_TRUE(c.record->IsKindOf(c.parent));
        EXPECT_TRUE(c.record->IsKindOf(&Persistent::classInfo));
        EXPECT_TRUE(c.record->IsKindOf(&Smart::classInfo));
        EXPECT_FALSE(c.record->IsKindOf(&SmartImplementation::classInfo));
    }
    // A made link is stored as any persistent object is, and is no match for the counting class.
    SmartPtr<Smart> link(CLink::classInfo.CreateObject());
    EXPECT_NE(SmartCast<Persistent>(link.Get()), nullptr);
    EXPECT_EQ(link->CastTo(&SmartImplementation::classInfo), nullptr);
    std::string refused;
    try {
        CheckType(link.Get(), &SmartImplementation::classInfo);
    } catch (Exception* exception) {
        SmartPtr<Exception> held(exception);
        if (auto* mismatch = SmartCast<TypeMisMatch>(exception))
            refused = std::string(mismatch->GetActual()) + " for " + mismatch->GetExpected();
    }
    EXPECT_EQ(refused, "CLink for SmartImplementation");
}

std::vector<std::string> Sources(const ClassInfo& record)
{
    std::vector<std::string> names;
    for (const pw::foundation::ConversionEntry* row = record.GetConversions(); row && row->source; ++row)
        names.push_back(row->source->GetName());
    return names;
}

// Movies come from pictures, sounds, texts and pages in that order, sprites from sounds and movies
// first, bitmaps from any image; nothing else converts.
TEST(ClassRecords, ConversionTablesListTheirSourcesInOrder)
{
    using Names = std::vector<std::string>;
    EXPECT_EQ(Sources(CMovie::classInfo), (Names { "Image", "Sound", "String", "CShow" }));
    Names sprite = Sources(CSprite::classInfo);
    ASSERT_GE(sprite.size(), 2u);
    EXPECT_EQ(Names(sprite.begin(), sprite.begin() + 2), (Names { "Sound", "CMovie" }));
    EXPECT_EQ(Sources(BitMap::classInfo), (Names { "Image" }));
    for (const ClassInfo* record : { &CShow::classInfo, &String::classInfo, &Image::classInfo, &CLink::classInfo })
        EXPECT_EQ(record->GetConversions(), nullptr) << record->GetName();
    // Only the picture row carries a way back.
    for (const pw::foundation::ConversionEntry* row = CMovie::classInfo.GetConversions(); row->source; ++row)
        EXPECT_EQ(row->extra != nullptr, row->source == &Image::classInfo) << row->source->GetName();
}

using ImagesToBitMaps = bitmaps::WithStandardPalette;

// A clipped picture becomes a bitmap of its clip's size holding what shows through the clip; a
// bitmap is one already and stays the same object; a text is no image and stays a text.
TEST_F(ImagesToBitMaps, AnyImageConvertsAndNothingElse)
{
    SmartPtr<OffScreen> buffer = new OffScreen(4, 3, 8, Color(0), true);
    ports::PaintArt(*buffer->GetBitMap().Get(), "rrbb|rrbb|gggg");
    SmartPtr<Image> picture(buffer->GetBitMap().Get());
    SmartPtr<Smart> handle(new ClippedImage(picture, new Area(Rect(1, 0, 3, 2))));
    ASSERT_TRUE(ConvertTo(handle, &BitMap::classInfo));
    auto* made = SmartCast<BitMap>(handle.Get());
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->GetBounds(), Rect(0, 0, 2, 2));
    EXPECT_EQ(made->GetColorTable()->BitDepth(), 8);

    SmartPtr<Smart> same(picture.Get());
    ASSERT_TRUE(ConvertTo(same, &BitMap::classInfo));
    EXPECT_EQ(same.Get(), static_cast<Smart*>(picture.Get()));

    // Called directly, the bitmap is drawn into a new one of its size.
    SmartPtr<Smart> direct(picture.Get());
    ASSERT_TRUE(ConvertToBitMap(direct));
    ASSERT_NE(direct.Get(), static_cast<Smart*>(picture.Get()));
    EXPECT_EQ(ports::Art(*SmartCast<BitMap>(direct.Get())), "rrbb|rrbb|gggg");

    SmartPtr<Smart> text(new String("hello"));
    EXPECT_FALSE(ConvertTo(text, &BitMap::classInfo));
    EXPECT_FALSE(ConvertToBitMap(text));
    EXPECT_NE(SmartCast<String>(text.Get()), nullptr);
}

} // namespace
