#include "authoring/panes/CEditPane.h"

#include "authoring/panes/Scrap.h"
#include "engine/CResource.h"
#include "foundation/String.h"
#include "ui/Window.h"

#include "authoring/AuthoringFixture.h"

#include <gtest/gtest.h>

namespace {

using authoring::AuthoringTest;

// The save command (7) is offered while the pane is changed and unlocked; carrying it out
// clears the change; every other command is disabled whatever the state.
TEST_F(AuthoringTest, AnEditPaneOffersSavingOnlyWhenChangedAndUnlocked)
{
    SmartPtr<Window> window = new Window(new String("edit"), 0, false, false, Point(100, 100));
    struct Case {
        const char* name;
        bool change;
        bool lock;
        bool save;
        int32_t status;
        int32_t otherStatus;
    } cases[] = {
        { "new", false, false, false, 3, 3 },
        { "changed", true, false, false, 0, 3 },
        { "changed, then saved", true, false, true, 3, 3 },
        { "changed and locked", true, true, false, 3, 3 },
        { "locked only", false, true, false, 3, 3 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SmartPtr<CEditPane> pane = new CEditPane(window.Get(), 0, 0, 50, 50);
        EXPECT_EQ(pane->Changed(c.change), c.change);
        if (c.lock)
            pane->Lock();
        if (c.save) {
            authoring::driver::ScriptMessageBoxes({ IDOK });
            pane->DoCommand(CEditPane::kSaveCommand, 0);
            EXPECT_FALSE(pane->Changed(false)) << "saving clears the change";
        }
        EXPECT_EQ(pane->GetCommandStatus(CEditPane::kSaveCommand), c.status);
        EXPECT_EQ(pane->GetCommandStatus(8), c.otherStatus);
        Rect rect(0, 0, 0, 0);
        SmartPtr<CResource> resource;
        EXPECT_FALSE(pane->TakePicture(rect, resource));
    }
}

// The edit state only flips when asked to; a resize counts as a change only on an active pane.
TEST_F(AuthoringTest, AnEditPaneFlipsItsEditStateAndNotesResizesWhileActive)
{
    SmartPtr<Window> window = new Window(new String("edit"), 0, false, false, Point(100, 100));
    SmartPtr<CEditPane> pane = new CEditPane(window.Get(), 0, 0, 50, 50);
    EXPECT_FALSE(pane->EditState(false));
    EXPECT_TRUE(pane->EditState(true));
    EXPECT_TRUE(pane->EditState(false));
    EXPECT_FALSE(pane->EditState(true));

    pane->AdjustBounds(0, 0, 5, 5);
    EXPECT_FALSE(pane->Changed(false)) << "an inactive pane";
    pane->SetActive(true);
    pane->AdjustBounds(0, 0, 5, 5);
    EXPECT_TRUE(pane->Changed(false));
    EXPECT_EQ(pane->GetBounds().right, 60);
}

// Bound to the application's clipboard, the shared handle sees what a paste would take.
TEST_F(AuthoringTest, TheSharedClipboardHandleSeesTheApplicationsClipboard)
{
    pw::authoring::BindScrap(app->GetClipboard());
    ASSERT_TRUE(gScrap.Valid());
    app->GetClipboard()->Put(new String("pasted"));
    EXPECT_NE(SmartCast<String>(gScrap->Contents().Get()), nullptr);
    pw::authoring::BindScrap(nullptr);
}

} // namespace
