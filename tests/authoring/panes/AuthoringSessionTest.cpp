// A short authoring session through the real page window: frames inserted by command, a sprite
// dragged over the run, the page played and stopped, and the page saved and opened again.
#include "authoring/panes/CHAPane.h"

#include "authoring/panes/PaneCommandHooks.h"
#include "engine/ShowFileType.h"

#include "authoring/panes/PaneFixture.h"
#include "foundation/ObjectFileBytes.h"

#include <gtest/gtest.h>

using namespace authoring;

namespace {

class Session : public PaneTest {
protected:
    void TearDown() override
    {
        pw::authoring::SetPaneCommandHooks({});
        PaneTest::TearDown();
    }
};

} // namespace

TEST_F(Session, InsertMovePlayStopAndSaveAPageThatReopensEqual)
{
    CSprite* sprite = AddSprite(Rect(40, 40, 60, 60), 0, kFrames);
    pw::authoring::PaneCommandHooks hooks;
    hooks.askNumber = [](const char*, int16_t& value) {
        value = 2;
        return true;
    };
    pw::authoring::SetPaneCommandHooks(hooks);

    pane->SelectFrames(3, 3);
    pane->DoCommand(2001, 0);
    ASSERT_EQ(group->NumFrames(), kFrames + 2);
    pane->DoCommand(3010, 0);
    Drag(Point(50, 50), Point(70, 55));
    ASSERT_TRUE(page->HasUndoTask());
    EXPECT_EQ(Text(At(sprite, 0)), "60,45,80,65");
    EXPECT_TRUE(At(sprite, 3).IsEmpty() && At(sprite, 4).IsEmpty()) << "the inserted frames are blank";
    pane->DoCommand(3013, 0);
    EXPECT_EQ(show->GetPlayer()->GetFrame(), 1);

    Commands().clear();
    pane->DoCommand(2030, 0);
    EXPECT_TRUE(pane->IsPlaying());
    driver::AdvanceClock(500);
    driver::RunUntilIdle();
    EXPECT_GT(show->GetPlayer()->GetFrame(), 1);
    pane->DoCommand(2031, 0);
    EXPECT_FALSE(pane->IsPlaying());
    EXPECT_EQ(Commands(), (std::vector<int32_t> { 2030, 2031 }));

    std::vector<uint8_t> saved = ObjectFileBytes(GetGenericTypeIndex(), show.Get());
    SmartPtr<Smart> reopened = ObjectFromBytes(GetGenericTypeIndex(), saved);
    auto* copy = SmartCast<CShow>(reopened.Get());
    ASSERT_NE(copy, nullptr);
    auto* copyGroup = SmartCast<CMovieGroup>(copy->GetMovie().Get());
    ASSERT_NE(copyGroup, nullptr);
    ASSERT_EQ(copyGroup->NumSprites(), 1u);
    EXPECT_EQ(copyGroup->NumFrames(), kFrames + 2);
    EXPECT_EQ(Path(copyGroup->GetSprite(0)), Path(sprite));
    EXPECT_EQ(ObjectFileBytes(GetGenericTypeIndex(), copy), saved) << "saved again, the page is byte for byte the same";
    copy->Close();
}
