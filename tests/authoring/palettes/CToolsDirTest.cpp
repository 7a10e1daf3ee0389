#include "authoring/palettes/CToolsDir.h"

#include "authoring/tools/CTool.h"
#include "engine/CPlayer.h"
#include "foundation/Failure.h"
#include "graphics/Sound.h"
#include "graphics/SoundChannel.h"

#include "authoring/AuthoringFixture.h"

#include <gtest/gtest.h>

using namespace authoring;

namespace {

// A tools window as the children's palette builds it: animation tools 3, 15 and 4 in cells 1 to
// 3, paint tools 102 and 109 in cells 8 and 9.
class TestTools : public CToolsDir {
public:
    TestTools()
        : CToolsDir(KidResources::Lookup(2))
    {
        tilePane = new View(this, Rect(0, 0, 30, 20), View::kSizeTopLeft, false, false);
        AddChild(tilePane);
        animationPalette = new CToolPalette(this, RowGrid(3), 1);
        paintPalette = new CToolPalette(this, RowGrid(2), 8);
        for (const SmartPtr<CToolPalette>& palette : { animationPalette, paintPalette }) {
            AddChild(SmartPtr<View>(palette.Get()));
            palette->AddClient(this);
            palette->Show(false);
        }
        for (int32_t number : { 3, 15, 4, 102, 109 })
            tools[number] = new CTool(number, nullptr, false, KidResources::Lookup(40));
    }
    ~TestTools() override
    {
        animationPalette->RemoveClient(this);
        paintPalette->RemoveClient(this);
    }
    int16_t IndexOfToolNumber(int32_t number) override
    {
        static const std::map<int32_t, int16_t> cells = { { 3, 1 }, { 15, 2 }, { 4, 3 }, { 102, 8 }, { 109, 9 } };
        auto found = cells.find(number);
        return found == cells.end() ? 0 : found->second;
    }
    SmartPtr<Tool> ToolAt(int16_t index) override
    {
        static const std::map<int16_t, int32_t> numbers = { { 1, 3 }, { 2, 15 }, { 3, 4 }, { 8, 102 }, { 9, 109 } };
        auto found = numbers.find(index);
        return found == numbers.end() ? SmartPtr<Tool>() : SmartPtr<Tool>(tools[found->second].Get());
    }

    SmartPtr<CToolPalette> Animation() const { return animationPalette; }
    SmartPtr<CToolPalette> Paint() const { return paintPalette; }
    std::map<int32_t, SmartPtr<CTool>> tools;
};

// A page pane that records what the tools window asks of it.
class TestPane : public PagePane {
public:
    explicit TestPane(View* parent)
        : PagePane(parent, Rect(0, 0, 10, 10))
    {
    }
    int32_t GetEditedKind() override { return kind; }
    void Edit(int32_t newKind, bool flag) override
    {
        log.push_back("edit " + std::to_string(newKind) + (flag ? " true" : " false"));
        if (takesEdits)
            kind = newKind;
    }
    void DoCommand(int32_t command, int32_t argument) override
    {
        log.push_back("command " + std::to_string(command) + " " + std::to_string(argument));
        PagePane::DoCommand(command, argument);
    }
    void ToggleClient(pw::authoring::PaneClient* client) override
    {
        log.push_back(client == clients ? "client off" : "client on");
        clients = client == clients ? nullptr : client;
    }

    int32_t kind { 0 };
    bool takesEdits { true };
    pw::authoring::PaneClient* clients { nullptr };
    std::vector<std::string> log;
};

class CToolsDirTest : public AuthoringTest {
protected:
    void SetUp() override
    {
        AuthoringTest::SetUp();
        PutSound(2);
        PutSound(40);
        tools = new TestTools;
        app->AddWindow(SmartPtr<Window>(tools.Get()), false);
        pane = new TestPane(tools.Get());
    }
    void TearDown() override
    {
        pane = nullptr;
        tools = nullptr;
        AuthoringTest::TearDown();
    }
    std::string Palettes()
    {
        auto shown = [](const SmartPtr<CToolPalette>& palette) { return palette->IsHidden() ? std::string("-") : std::to_string(palette->GetSelectedTool()); };
        return "anim " + shown(tools->Animation()) + " paint " + shown(tools->Paint()) + " tool "
            + std::to_string(tools->GetCurrentToolNumber());
    }

    SmartPtr<TestTools> tools;
    SmartPtr<TestPane> pane;
};

} // namespace

// The window follows the active pane through its forwarder: a pane editing a picture shows the
// paint palette (mode 3) with the brush; a pane editing nothing hides it again; a playing pane
// gives mode 0; every mode tells the pane what to edit, and the animation modes stop its page
// (without the stop command). The same mode twice does nothing.
TEST_F(CToolsDirTest, ModesFollowTheActivePane)
{
    EXPECT_EQ(tools->GetCurrentToolNumber(), 3) << "the default tool";
    pane->kind = 1;
    PaneForwarder::TellWindows(*app, pane.Get());
    EXPECT_EQ(pane->log, (std::vector<std::string> { "client on", "edit 1 true" }));
    EXPECT_EQ(tools->GetMode(), 3);
    EXPECT_EQ(Palettes(), "anim - paint 8 tool 102");
    EXPECT_TRUE(tools->IsVisible());

    pane->log.clear();
    pane->kind = 0;
    tools->PaneChanged(pane.Get());
    EXPECT_EQ(tools->GetMode(), 0);
    EXPECT_EQ(Palettes(), "anim - paint - tool 3");
    EXPECT_EQ(pane->log, (std::vector<std::string> { "edit 0 false" }));

    pane->log.clear();
    ASSERT_TRUE(pane->GetPlayer()->Start());
    tools->SetMode(4);
    EXPECT_FALSE(pane->Plays());
    pane->GetPlayer()->Start();
    tools->SetMode(4);
    EXPECT_TRUE(pane->Plays()) << "the same mode again does nothing";
    pane->GetPlayer()->Stop();
    EXPECT_EQ(Palettes(), "anim 1 paint - tool 3");
    EXPECT_EQ(pane->log, (std::vector<std::string> { "edit 0 false" }));

    // Writing opens nothing by itself, not even the text selected on the page: the text tool
    // waits for the click that says where to write.
    pane->log.clear();
    tools->SelectIndex(3);
    pane->kind = 2;
    tools->SetMode(2);
    EXPECT_EQ(pane->log, (std::vector<std::string> { "edit 0 false" }));
    EXPECT_EQ(pane->kind, 0);
    EXPECT_EQ(Palettes(), "anim - paint - tool 4");
    EXPECT_TRUE(tools->GetCurrentTool()->IsSoundPending()) << "the text tool asks for a click";

    pane->GetPlayer()->Start();
    tools->PaneChanged(pane.Get());
    EXPECT_EQ(tools->GetMode(), 0);
    EXPECT_TRUE(pane->Plays()) << "mode 0 lets the page play";
    PaneForwarder::TellWindows(*app, nullptr);
    EXPECT_EQ(pane->clients, nullptr);
}

// A click in a palette plays the click sound, selects the cell (the other palette clears its
// selection) and makes its tool current; choosing the text tool stops a playing pane first, with
// its stop command, and makes it edit a text. A still pane gets no stop command.
TEST_F(CToolsDirTest, AChosenCellMakesItsToolCurrent)
{
    tools->SetMode(1);
    PaneForwarder::TellWindows(*app, pane.Get());
    ASSERT_TRUE(pane->GetPlayer()->Start());
    pane->log.clear();
    tools->Animation()->NotifyClients(3);
    EXPECT_EQ(static_cast<Smart*>(SoundChannel::GetCurrent()->GetSound().Get()), KidResources::Lookup(2)->Get().Get());
    EXPECT_EQ(tools->GetCurrentToolNumber(), 4);
    EXPECT_EQ(tools->Animation()->GetSelectedTool(), 3);
    EXPECT_EQ(pane->log, (std::vector<std::string> { "command 2031 0", "edit 2 false" }));
    EXPECT_FALSE(pane->Plays());
    pane->log.clear();
    EXPECT_EQ(tools->GetPane().Get(), static_cast<pw::authoring::ToolsWindowPane*>(pane.Get()));
    EXPECT_TRUE(pane->log.empty());

    tools->Paint()->Show(true);
    tools->SelectIndex(9);
    EXPECT_EQ(tools->Animation()->GetSelectedTool(), 0);
    EXPECT_EQ(tools->Paint()->GetSelectedTool(), 9);
    tools->SetCurrentToolNumber(15);
    EXPECT_EQ(Palettes(), "anim 2 paint 0 tool 15");
}

// A tool made current from outside the palettes (a browser's tool, a recorded sound's) is the
// application's current tool too, so the next press in the page reaches it; an empty one changes
// neither.
TEST_F(CToolsDirTest, ATrackedToolIsTheApplicationsCurrentTool)
{
    ASSERT_EQ(Window::GetApplication(), static_cast<App*>(app));
    SmartPtr<CTool> browserTool = new CTool(19, nullptr, false, nullptr);
    tools->SetCurrentTool(SmartPtr<Tool>(browserTool.Get()));
    EXPECT_EQ(app->GetCurrentTool().Get(), static_cast<Tool*>(browserTool.Get()));
    tools->SetCurrentTool(SmartPtr<Tool>());
    EXPECT_EQ(tools->GetCurrentToolNumber(), 19);
    EXPECT_EQ(app->GetCurrentTool().Get(), static_cast<Tool*>(browserTool.Get()));
    tools->SelectIndex(2);
    EXPECT_EQ(app->GetCurrentTool().Get(), static_cast<Tool*>(tools->tools[15].Get()));
}

// With both palettes hidden the default tools are tool 3's cell in the animation palette and no
// cell in the paint palette.
TEST_F(CToolsDirTest, DefaultToolsWithBothPalettesHidden)
{
    tools->SelectIndex(9);
    tools->Animation()->SelectTool(2);
    tools->SelectDefaultTools();
    EXPECT_EQ(Palettes(), "anim - paint - tool 3");
    EXPECT_EQ(tools->Animation()->GetSelectedTool(), 1);
    EXPECT_EQ(tools->Paint()->GetSelectedTool(), 0);
}

// The default tool is the one of the palette the child sees: a paint palette left shown inside a
// put-away window (the media tabs) offers no brush, so a press on a placed picture moves it.
TEST_F(CToolsDirTest, DefaultToolsAreThoseOfThePaletteOnTheScreen)
{
    struct Case {
        const char* name;
        bool window;
        bool animation;
        bool paint;
        int32_t tool;
    } cases[] = {
        { "window away, paint palette in it", false, false, true, 3 },
        { "window away, both palettes in it", false, true, true, 3 },
        { "paint palette shown", true, false, true, 102 },
        { "both palettes shown", true, true, true, 3 },
        { "window shown, no palette", true, false, false, 3 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        tools->Show(c.window);
        tools->Animation()->Show(c.animation);
        tools->Paint()->Show(c.paint);
        tools->SetCurrentTool(SmartPtr<Tool>(tools->tools[109].Get()));
        tools->SelectDefaultTools();
        EXPECT_EQ(tools->GetCurrentToolNumber(), c.tool);
        EXPECT_EQ(app->GetCurrentTool().Get(), static_cast<Tool*>(tools->tools[c.tool].Get()))
            << "the press in the page reaches the default tool";
    }
}

// The pending sound of a tool chosen for the child plays at the first tick 4000 ms after the last
// tool change: making the same tool current again restarts the count, a new tool takes the sound
// off the old one.
TEST_F(CToolsDirTest, ThePendingSoundPlaysOnTheChoreFourSecondsAfterTheLastChange)
{
    SmartPtr<CTool> scale = tools->tools[15];
    auto played = [] {
        SmartPtr<SoundChannel> channel = SoundChannel::GetCurrent();
        return channel.Valid() && static_cast<Smart*>(channel->GetSound().Get()) == KidResources::Lookup(40)->Get().Get();
    };
    tools->SetCurrentTool(SmartPtr<Tool>(scale.Get()));
    scale->SetSoundPending(true);
    driver::RunFor(3000);
    tools->SetCurrentTool(SmartPtr<Tool>(scale.Get()));
    EXPECT_TRUE(scale->IsSoundPending());
    driver::RunFor(3990);
    EXPECT_FALSE(played()) << "counted again from the repeated change";
    driver::RunFor(20);
    EXPECT_TRUE(played());
    EXPECT_FALSE(scale->IsSoundPending());

    CTool::StopSound();
    scale->SetSoundPending(true);
    tools->SetCurrentTool(SmartPtr<Tool>(tools->tools[4].Get()));
    EXPECT_FALSE(scale->IsSoundPending());
    driver::RunFor(8000);
    EXPECT_FALSE(played());

    SmartPtr<ListChore> stray = new ListChore(10, false);
    EXPECT_EQ(Failure([&] { tools->ChoreTick(stray); }), "~timer == ~chore");
}
