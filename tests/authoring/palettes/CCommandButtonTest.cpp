#include "authoring/palettes/CCommandButton.h"

#include "authoring/palettes/TabBarView.h"
#include "engine/NumberCommandHandler.h"
#include "ui/WindowFrame.h"

#include "authoring/AuthoringFixture.h"

#include <gtest/gtest.h>

using namespace authoring;

namespace {

// An application that takes numbered command 4 and records the numbers it is sent.
class NumberApp : public uitest::TestApp, public NumberCommandHandler {
    PW_CLASS_INFO(NumberApp)

public:
    void DoCommand(int32_t number, int32_t) override { commands.push_back(number); }
    int32_t GetCommandStatus(int32_t number) override { return number == 4 ? kEnabled : kDisabled; }
    std::vector<int32_t> commands;
};

PW_DEFINE_CLASS(NumberApp, nullptr, nullptr, App, NumberCommandHandler)

// A tab bar of five pages, each with a one-cell palette of its own.
class FivePages : public TabBarView {
public:
    explicit FivePages(View* parent)
        : TabBarView(parent, Rect(0, 0, 100, 40), 5)
    {
        for (auto& palette : pages)
            palette = new CToolPalette(this, RowGrid(1), 1);
    }
    SmartPtr<CToolPalette> GetPagePalette(int16_t page) override { return pages[page]; }
    SmartPtr<CToolPalette> pages[5];
};

class Buttons : public AuthoringTest {
protected:
    App* MakeApp() override { return new NumberApp; }

    void SetUp() override
    {
        AuthoringTest::SetUp();
        window = Open("buttons");
        window->Show(true);
        driver::RunUntilIdle();
    }

    void Click(View& view, int32_t h, int32_t v)
    {
        Point origin = window->GetContentOrigin();
        Rect bounds = view.GetBounds();
        driver::PressMouse(origin.h + bounds.left + h, origin.v + bounds.top + v);
        driver::RunUntilIdle();
        driver::ReleaseMouse(origin.h + bounds.left + h, origin.v + bounds.top + v);
        driver::RunUntilIdle();
    }

    std::vector<int32_t>& Commands() { return static_cast<NumberApp*>(app)->commands; }

    SmartPtr<uitest::TestWindow> window;
};

} // namespace

// A button takes its picture's size at its corner and shows the picture there, holding no image
// between drawings; without a picture it keeps its frame.
TEST_F(Buttons, AButtonSizesToItsPictureAndKeepsNoImage)
{
    PutPicture(2030, "rrgg|rrgg|bbyy");
    SmartPtr<CCommandButton> plain = new CCommandButton(window.Get(), Rect(40, 5, 70, 25), nullptr, nullptr, nullptr);
    SmartPtr<CCommandButton> pictured
        = new CCommandButton(window.Get(), Rect(10, 5, 30, 25), nullptr, KidResources::LookupImage(2030), nullptr);
    window->AddChild(SmartPtr<View>(plain.Get()));
    window->AddChild(SmartPtr<View>(pictured.Get()));
    EXPECT_EQ(pictured->GetBounds(), Rect(10, 5, 14, 8));
    EXPECT_EQ(plain->GetBounds(), Rect(40, 5, 70, 25));
    window->InvalidateView(false);
    HWND hwnd = window->GetFrame()->GetOSWindow();
    EXPECT_EQ(ShownRow(hwnd, 5, 9, 15), "wrrggw");
    EXPECT_EQ(ShownRow(hwnd, 7, 9, 15), "wbbyyw");
    EXPECT_FALSE(pictured->GetImage().Valid());
}

// A press plays the click sound with or without a command; a command goes to the application.
TEST_F(Buttons, APressPlaysTheSoundAndIssuesTheCommand)
{
    PutSound(13);
    SmartPtr<CCommandButton> silent
        = new CCommandButton(window.Get(), Rect(10, 5, 30, 25), nullptr, nullptr, KidResources::Lookup(13));
    SmartPtr<CCommandButton> commanding = new CCommandButton(window.Get(), Rect(40, 5, 60, 25),
        new pw::authoring::AppCommandSignal(4), nullptr, KidResources::Lookup(13));
    window->AddChild(SmartPtr<View>(silent.Get()));
    window->AddChild(SmartPtr<View>(commanding.Get()));
    pw::platform::winmm::testing::ClearSoundLog();
    Click(*silent.Get(), 3, 3);
    EXPECT_EQ(SoundsPlayed(), 1u);
    EXPECT_TRUE(Commands().empty());
    Click(*commanding.Get(), 3, 3);
    EXPECT_EQ(SoundsPlayed(), 2u);
    EXPECT_EQ(Commands(), std::vector<int32_t> { 4 });
    EXPECT_EQ(pw::authoring::AppCommandSignal(5).GetSignalStatus(app), 3) << "a number the application refuses";
}

// Five pages step round both ways, by command and by the arrows; other commands change nothing;
// exactly the current page's palette shows, with nothing selected.
TEST_F(Buttons, TheTabBarStepsRoundItsPages)
{
    PutPicture(2030, "rr|rr");
    SmartPtr<FivePages> bar = new FivePages(window.Get());
    window->AddChild(SmartPtr<View>(bar.Get()));
    for (auto& palette : bar->pages) {
        bar->AddChild(SmartPtr<View>(palette.Get()));
        palette->SelectTool(1);
    }
    bar->Build(nullptr, true, RowGrid(2));
    SmartPtr<CToolPalette> arrows = bar->GetArrowPalette();
    ASSERT_TRUE(arrows.Valid());
    arrows->SetBounds(40, 0, 60, 10);

    struct Step {
        int16_t command;
        int16_t page;
    } steps[] = { { 1, 4 }, { 2, 0 }, { 2, 1 }, { 3, 1 }, { -1, 1 }, { 1, 0 }, { 1, 4 }, { 1, 3 } };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.command);
        bar->DoCommand(s.command);
        EXPECT_EQ(bar->GetPage(), s.page);
        for (int16_t i = 0; i < 5; ++i) {
            EXPECT_EQ(bar->pages[i]->IsVisible(), i == s.page) << i;
            if (i == s.page) {
                EXPECT_EQ(bar->pages[i]->GetSelectedTool(), 0);
            }
        }
        EXPECT_EQ(arrows->GetSelectedTool(), 0) << "the arrows rest";
    }
    Click(*arrows.Get(), 15, 5);
    EXPECT_EQ(bar->GetPage(), 4);
    Click(*arrows.Get(), 5, 5);
    EXPECT_EQ(bar->GetPage(), 3);
}
