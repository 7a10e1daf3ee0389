#include "authoring/application/CTumblerApp.h"

#include "authoring/dialogs/COverDir.h"
#include "authoring/palettes/CToolsDir.h"
#include "authoring/palettes/CKidTools.h"
#include "authoring/selectors/CPatternSelector.h"
#include "authoring/palettes/Floater.h"
#include "authoring/panes/ApplicationHooks.h"
#include "authoring/panes/PaneCommandHooks.h"
#include "authoring/panes/Scrap.h"
#include "authoring/tools/PaintSettings.h"
#include "engine/CFWDecorator.h"
#include "foundation/Clipboard.h"
#include "ui/AppGlue.h"
#include "ui/SoundDialog.h"

#include "authoring/panes/PaneFixture.h"

#include <gtest/gtest.h>

using namespace authoring;

namespace {

// The page pane of PaneTest, with a children's application running in place of the test
// application; the overview it opens is a plain floater that remembers its frame.
class Tumbler : public PaneTest {
protected:
    void SetUp() override
    {
        PaneTest::SetUp();
        PutSound(CTumblerApp::kStartSound);
        PutSound(CTumblerApp::kGoodbyeSound);
        CTumblerApp::SetOverviewMaker([this](CHAPane&, const Rect& frame) {
            overviewFrame = frame;
            return SmartPtr<Window>(new Floater(3));
        });
    }
    void TearDown() override
    {
        Stop();
        CTumblerApp::SetOverviewMaker(nullptr);
        CHAApp::GetOptions() = CHAApp::Options();
        pw::graphics::SetRecordingDialogRunner(&pw::ui::RunSoundDialog);
        PaneTest::TearDown();
    }

    void Start(uint32_t optionBits)
    {
        CHAApp::GetOptions().bits = optionBits;
        tumbler = new CTumblerApp(SmartPtr<MenuBar>(), FileCreatorType("Test", 0x54657374), nullptr);
        AppGlue::Application() = tumbler.Get();
        Window::SetApplication(tumbler.Get());
        tumbler->SetActivePane(pane.Get());
    }

    // The children's application ends; the test application runs again.
    void Stop()
    {
        if (!tumbler.Valid())
            return;
        for (uint32_t i = tumbler->NumWindows(); i >= 1; --i)
            tumbler->RemoveWindow(tumbler->GetWindow(i));
        AppGlue::Application() = app;
        Window::SetApplication(app);
        tumbler = nullptr;
    }

    SmartPtr<CTumblerApp> tumbler;
    Rect overviewFrame { 0, 0, 0, 0 };
};

} // namespace

// The start-up and goodbye sounds play only while the no-sounds bit is clear; either way the
// children start painting in colours 14 on 15 with erase colour 0.
TEST_F(Tumbler, SoundsFollowTheNoSoundsBitAndColoursStartAsTheChildrensOwn)
{
    struct Case {
        const char* name;
        uint32_t bits;
        size_t atStart, atQuit;
    } cases[] = {
        { "sounds wanted", 4, 1, 2 },
        { "this program's options", 12, 0, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        pw::authoring::PaintSettings::Reset();
        pw::platform::winmm::testing::ClearSoundLog();
        Start(c.bits);
        EXPECT_EQ(SoundsPlayed(), c.atStart);
        tumbler->Quit(0);
        EXPECT_EQ(SoundsPlayed(), c.atQuit);
        EXPECT_FALSE(tumbler->IsRunning());
        const auto& paint = pw::authoring::PaintSettings::Current();
        EXPECT_TRUE(paint.foreground.Equals(Color(14)));
        EXPECT_TRUE(paint.background.Equals(Color(15)));
        EXPECT_TRUE(paint.erase.Equals(Color(0)));
    }
}

// One floater at a time: 2062 opens the overview as the current floater, another floater hides
// it, the same floater again changes nothing, an empty one changes nothing while the overview is
// open, and a second 2062 on the current overview closes it and leaves no floater.
TEST_F(Tumbler, OneFloaterAtATimeAndCommand2062TogglesTheOverview)
{
    Start(12);
    driver::ScriptMessageBoxes({ IDOK });
    tumbler->DoCommand(CTumblerApp::kOverviewCommand, 0);
    SmartPtr<Window> overview = tumbler->GetOverview();
    ASSERT_TRUE(overview.Valid());
    EXPECT_EQ(tumbler->GetCurrentFloater().Get(), overview.Get());
    EXPECT_TRUE(overview->IsVisible());
    tumbler->ShowFloater(nullptr);
    EXPECT_EQ(tumbler->GetCurrentFloater().Get(), overview.Get()) << "nothing while the overview is open";

    SmartPtr<Window> other = new Floater(3);
    tumbler->ShowFloater(other);
    EXPECT_FALSE(overview->IsVisible());
    EXPECT_TRUE(other->IsVisible());
    EXPECT_EQ(tumbler->GetCurrentFloater().Get(), other.Get());
    tumbler->ShowFloater(other);
    EXPECT_TRUE(other->IsVisible());
    EXPECT_EQ(tumbler->GetOverview().Get(), overview.Get());

    tumbler->ShowFloater(overview);
    EXPECT_FALSE(other->IsVisible()) << "the floater before is put away";
    driver::ScriptMessageBoxes({ IDOK });
    tumbler->DoCommand(CTumblerApp::kOverviewCommand, 0);
    EXPECT_FALSE(tumbler->GetOverview().Valid());
    EXPECT_FALSE(tumbler->GetCurrentFloater().Valid());
    EXPECT_FALSE(overview->IsVisible());

    tumbler->ClearActivePane(pane.Get());
    tumbler->DoCommand(CTumblerApp::kOverviewCommand, 0);
    EXPECT_FALSE(tumbler->GetOverview().Valid()) << "no pane, no overview";
}

// 2062 opens the overview window as a strip 256 pixels high across the usable frame, raised 40
// pixels off its bottom; the window's own bottom edge lies a pixel above that.
TEST_F(Tumbler, TheOverviewOpensAsAStripRaisedOffTheFramesBottom)
{
    pw::authoring::InstallApplicationHooks();
    Start(12);
    driver::ScriptMessageBoxes({ IDOK });
    tumbler->DoCommand(CTumblerApp::kOverviewCommand, 0);
    auto* overview = SmartCast<COverDir>(tumbler->GetOverview().Get());
    ASSERT_NE(overview, nullptr);
    Rect frame(0, 0, 0, 0);
    CFWDecorator::Get().GetFrame(frame);
    EXPECT_EQ(Text(overview->GetRect()), Text(Rect(frame.left, frame.bottom - 296, frame.right, frame.bottom - 41)));
    EXPECT_TRUE(overview->IsVisible());
}

// 3030 is disabled and only warns here; other numbers answer as the animation application does.
TEST_F(Tumbler, CommandStatusOf3030IsDisabledAndOthersAreTheBases)
{
    Start(12);
    driver::ScriptMessageBoxes({ IDOK, IDOK });
    EXPECT_EQ(tumbler->GetCommandStatus(CTumblerApp::kEndEditCommand), 3);
    tumbler->DoCommand(CTumblerApp::kEndEditCommand, 0);
    EXPECT_EQ(driver::ScriptedMessageBoxesLeft(), 0u);
    for (int32_t number : { 2041, 2062, 1 })
        EXPECT_EQ(tumbler->GetCommandStatus(number), tumbler->CHAApp::GetCommandStatus(number)) << number;
}

// A recorded sound goes onto the clipboard and arms the tool; a cancelled recording touches
// neither.
TEST_F(Tumbler, RecordedSoundsGoToTheClipboardAndCancelledOnesDoNothing)
{
    Start(12);
    SmartPtr<CTool> tool = new CTool(10, nullptr, false, nullptr);
    pw::graphics::SetRecordingDialogRunner([](App&) { return SmartPtr<Sound>(); });
    tumbler->RecordSoundToClipboard(tool);
    EXPECT_FALSE(tumbler->GetClipboard()->Contents().Valid());
    EXPECT_FALSE(tool->IsSoundPending());

    pw::graphics::SetRecordingDialogRunner([](App&) { return SmartPtr<Sound>(new Sound); });
    tumbler->RecordSoundToClipboard(tool);
    EXPECT_NE(SmartCast<Sound>(tumbler->GetClipboard()->Contents().Get()), nullptr);
    EXPECT_TRUE(tool->IsSoundPending());
}

// The panes' handle on the application's clipboard goes with the application, so what was left on
// the clipboard is freed then and not at process exit, after the platform has gone; a handle bound
// to another clipboard stays.
TEST_F(Tumbler, TheClipboardHandleIsReleasedWithTheApplication)
{
    Start(12);
    pw::authoring::BindScrap(tumbler->GetClipboard());
    tumbler->GetClipboard()->Put(new String("left over"));
    Stop();
    EXPECT_FALSE(gScrap.Valid());

    SmartPtr<Clipboard> other(new Clipboard);
    pw::authoring::BindScrap(other);
    Start(12);
    Stop();
    EXPECT_EQ(gScrap.Get(), other.Get());
    pw::authoring::BindScrap(nullptr);
}

// The children's tools window, which is no window of the application's list, follows the active
// page pane: after the picture a browser's tool placed, the default tool is current again, so the
// next press on the picture moves it instead of placing another copy.
TEST_F(Tumbler, TheToolsWindowFollowsThePageAndTakesBackABrowsersTool)
{
    pw::authoring::InstallApplicationHooks();
    SmartPtr<CKidTools> tools = new CKidTools(false, false, true);
    Start(12);
    EXPECT_EQ(tools->GetPane().Get(), static_cast<pw::authoring::ToolsWindowPane*>(pane.Get()));
    // The tabs put the children's palette away before they open a browser.
    tools->SetMode(3);
    tools->SetMode(0);
    SmartPtr<CTool> browserTool = new CTool(19, nullptr, false, nullptr);
    tools->SetCurrentTool(SmartPtr<Tool>(browserTool.Get()));
    pane->AfterEdit(nullptr);
    EXPECT_EQ(tools->GetCurrentToolNumber(), 3);
    auto* current = dynamic_cast<CTool*>(tumbler->GetCurrentTool().Get());
    ASSERT_NE(current, nullptr);
    EXPECT_EQ(current->GetNumber(), 3);
    tumbler->ClearActivePane(pane.Get());
    EXPECT_FALSE(tools->GetPane().Valid());
    CHAApp::SetHooks(CHAApp::Hooks());
    pw::authoring::SetPaneCommandHooks(pw::authoring::PaneCommandHooks());
}

// The tools window chooses its tool while it is built, before there is an application: the
// application starts with that tool, so the first press on a page reaches it and not a bare tool.
TEST_F(Tumbler, TheApplicationStartsWithTheToolsWindowsTool)
{
    SmartPtr<CKidTools> tools = new CKidTools(false, false, true);
    CHAApp::GetOptions().bits = 12;
    tumbler = new CTumblerApp(
        SmartPtr<MenuBar>(), FileCreatorType("Test", 0x54657374), SmartPtr<CToolsDir>(tools.Get()));
    auto* current = dynamic_cast<CTool*>(tumbler->GetCurrentTool().Get());
    ASSERT_NE(current, nullptr);
    EXPECT_EQ(current, tools->GetCurrentTool().Get());
    EXPECT_EQ(current->GetNumber(), 3) << "the put-away window offers the animation tool";
}
