#include "authoring/browser/CBrowser.h"

#include "authoring/browser/CBrowserPane.h"
#include "authoring/panes/CChoreStrips.h"
#include "ui/Preview.h"
#include "ui/ScrollBar.h"

#include "authoring/browser/BrowserFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include <sys/stat.h>

using namespace authoring;

namespace {

// Slots of 92 x 77 pixels: three columns and two rows fit 290 x 160.
constexpr Rect kThreeByTwo { 0, 0, 290, 160 };

std::string Range(CBrowser& browser)
{
    int32_t first = -1;
    int32_t last = -1;
    browser.GetRange(0, &first, &last);
    return std::to_string(first) + ".." + std::to_string(last);
}

std::string Queue(CChoreStrips& strips)
{
    std::string text;
    for (uint32_t i = 1; i <= strips.NumQueued(); ++i)
        text += std::to_string(strips.Queued(i)) + " ";
    return text;
}

class Browser : public BrowserTest {
protected:
    void PutPages(int count)
    {
        for (int i = 1; i <= count; ++i) {
            char name[16];
            std::snprintf(name, sizeof name, "p%02d.mvi", i);
            WritePage(name, 7);
        }
    }
};

} // namespace

// Columns and rows follow the width and height, at least one of each; the range ends at the
// last row that holds an entry.
TEST_F(Browser, GridFollowsTheBoundsAndTheRangeTheEntries)
{
    struct Case {
        const char* name;
        int pages;
        Rect bounds;
        uint32_t columns, rows;
        const char* range;
    } cases[] = {
        { "empty folder", 0, kThreeByTwo, 3, 2, "0..0" },
        { "one row exactly", 3, kThreeByTwo, 3, 2, "0..0" },
        { "ten entries, three columns", 10, kThreeByTwo, 3, 2, "0..3" },
        { "narrower than one slot", 10, Rect(0, 0, 50, 40), 1, 1, "0..9" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(HostFolder());
        std::filesystem::create_directories(HostFolder());
        PutPages(c.pages);
        WriteBytes("notes.txt", "not a page");
        SmartPtr<CBrowser> browser = MakeBrowser(19, c.bounds);
        EXPECT_EQ(browser->NumEntries(), uint32_t(c.pages)) << "only pages are listed";
        EXPECT_EQ(browser->GetColumns(), c.columns);
        EXPECT_EQ(browser->GetVisibleRows(), c.rows);
        EXPECT_EQ(browser->GetPageSize(0), int32_t(c.rows));
        EXPECT_EQ(Range(*browser.Get()), c.range);
    }
}

// Widening keeps the entry that was first visible in the first visible row.
TEST_F(Browser, WideningKeepsTheFirstVisibleEntry)
{
    PutPages(10);
    SmartPtr<CBrowser> browser = MakeBrowser(19, kThreeByTwo);
    browser->TakeValue(2);
    EXPECT_EQ(browser->IndexAt(0, 0), 7);
    EXPECT_EQ(browser->CellRect(7), Rect(16, 16, 76, 61));
    browser->AdjustBounds(0, 0, 2 * 92, 0);
    EXPECT_EQ(browser->GetColumns(), 5u);
    EXPECT_EQ(browser->GetValueFor(0), 1);
    EXPECT_EQ(Range(*browser.Get()), "0..1");
    EXPECT_EQ(browser->IndexAt(0, 0), 6) << "entry 7 is in the first row";
    EXPECT_EQ(browser->CellRect(7), Rect(108, 16, 168, 61));
}

// Only a picture is hit: not the 16-pixel margins, not the label, nothing below the last entry;
// a press that hits nothing, or a tool without a click action, is a plain view press.
TEST_F(Browser, OnlyPicturesAreHit)
{
    PutPages(4);
    SmartPtr<CBrowser> browser = MakeBrowser(19, kThreeByTwo);
    struct Case {
        const char* name;
        int32_t h, v;
        int16_t item;
    } cases[] = {
        { "first picture", 20, 20, 1 },
        { "its right edge is outside", 76, 20, 0 },
        { "left margin", 8, 20, 0 },
        { "margin between columns", 90, 30, 0 },
        { "label", 30, 66, 0 },
        { "second row", 20, 95, 4 },
        { "below the last entry's row", 112, 95, 0 },
        { "left of the grid", -20, 20, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(browser->ItemAt(c.h, c.v), c.item);
    }
    EXPECT_FALSE(browser->MouseDown(8, 20, BitFlags(), 1, SmartPtr<Window>()));
    SmartPtr<CBrowser> plain = MakeBrowser(3, kThreeByTwo);
    EXPECT_FALSE(ClickEntry(*plain.Get(), 1));
    EXPECT_TRUE(tabs->commands.empty());
    EXPECT_FALSE(pages->GetClipboard()->Contents().Valid());
}

// The link tool's browser starts with "New Page"; the hotlink tool's lists pages only.
TEST_F(Browser, LinkBrowserStartsWithANewPage)
{
    PutPages(2);
    SmartPtr<CBrowser> links = MakeBrowser(14, kThreeByTwo);
    ASSERT_EQ(links->NumEntries(), 3u);
    EXPECT_FALSE(links->GetEntry(1).Valid());
    EXPECT_EQ(links->GetEntry(2)->Name(), String("p01.mvi"));
    EXPECT_EQ(MakeBrowser(22, kThreeByTwo)->NumEntries(), 2u);
}

// Drawing queues the visible entries in order; the chore previews those alone, draws them in
// their cells and keeps them in the folder's preview file, from which they are shown again. The
// pages are only read: none reaches the application's scribes as a document.
TEST_F(Browser, PreviewsAreBuiltForVisibleEntriesAndCached)
{
    PutPages(8);
    WritePage("p01.mvi", 8);
    int scribes = pages->scribesAsked;
    Rect bounds(0, 0, 290, 160);
    SmartPtr<CBrowser> browser = MakeBrowser(19, bounds);
    page->AddChild(browser.Get());
    browser->InvalidateView(false);
    driver::RunUntilIdle();
    EXPECT_EQ(Queue(browser->GetStrips()), "1 2 3 4 5 6 ");
    driver::RunFor(CChoreStrips::kPeriod + 10);
    EXPECT_EQ(browser->GetStrips().NumQueued(), 0u);
    for (uint32_t i = 1; i <= 8; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(browser->GetEntry(i)->GetPreview().Valid(), i <= 6);
    }
    EXPECT_EQ(pages->scribesAsked, scribes);
    HWND hwnd = page->GetFrame()->GetOSWindow();
    Rect first = browser->CellRect(1);
    EXPECT_EQ(ShownRow(hwnd, first.top + 20, first.left + 1, first.left + 4), "ggg") << "the page's green";
    Rect second = browser->CellRect(2);
    EXPECT_EQ(ShownRow(hwnd, second.top + 20, second.left + 1, second.left + 4), "rrr");

    FileReference::SavePreviews();
    SmartPtr<Preview> stored = Preview::LoadFromFolder(*Folder().Get());
    ASSERT_TRUE(stored.Valid());
    EXPECT_EQ(stored->NumItems(), 6u);

    // A cached preview is shown as it is, without reading the page again.
    WritePage("p01.mvi", 9);
    page->RemoveChild(browser.Get());
    browser = MakeBrowser(19, bounds);
    page->AddChild(browser.Get());
    driver::RunFor(CChoreStrips::kPeriod + 10);
    EXPECT_EQ(ShownRow(hwnd, first.top + 20, first.left + 1, first.left + 4), "ggg");
    page->RemoveChild(browser.Get());
}

// An entry scrolled out of view before its turn gets no preview.
TEST_F(Browser, EntriesScrolledAwayAreNotPreviewed)
{
    PutPages(8);
    SmartPtr<CBrowser> browser = MakeBrowser(19, kThreeByTwo);
    browser->TakeValue(2);
    EXPECT_FALSE(browser->LoadPreview(1));
    EXPECT_FALSE(browser->GetEntry(1)->GetPreview().Valid());
    EXPECT_FALSE(browser->LoadPreview(7));
    EXPECT_TRUE(browser->GetEntry(7)->GetPreview().Valid());
}

// A file that gives no preview is reported as corrupt: OK deletes it (or says it could not, when
// it went meanwhile), Cancel keeps it with a blank picture, and the browser does not ask about it
// again.
TEST_F(Browser, CorruptFilesMayBeDeleted)
{
    const std::string corrupt = "File bad.mvi is corrupt!\nDo you wish to Delete it now?";
    struct Case {
        const char* name;
        bool goneBeforeTheAnswer;
        std::initializer_list<int> answers;
        std::vector<std::string> alerts;
        bool deleted;
    } cases[] = {
        { "deleted", false, { IDOK }, { corrupt }, true },
        { "kept", false, { IDCANCEL }, { corrupt }, false },
        { "cannot be deleted", true, { IDOK, IDOK },
            { corrupt, "Failed to Delete File!\nThe file maybe write protected." }, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(HostFolder());
        std::filesystem::create_directories(HostFolder());
        WritePage("a.mvi", 7);
        WriteBytes("bad.mvi", "OBJS but nothing else");
        SmartPtr<CBrowser> browser = MakeBrowser(19, kThreeByTwo);
        ASSERT_EQ(browser->NumEntries(), 2u);
        if (c.goneBeforeTheAnswer)
            pages->afterPreview = [] { std::filesystem::remove(HostFolder() / "bad.mvi"); };
        size_t before = driver::AlertLog().size();
        driver::ScriptMessageBoxes(c.answers);
        EXPECT_EQ(browser->LoadPreview(2), c.deleted);
        pages->afterPreview = nullptr;
        std::vector<std::string> shown;
        for (size_t i = before; i < driver::AlertLog().size(); ++i)
            shown.push_back(driver::AlertLog()[i].text);
        EXPECT_EQ(shown, c.alerts);
        EXPECT_EQ(std::filesystem::exists(HostFolder() / "bad.mvi"), !c.deleted && !c.goneBeforeTheAnswer);
        EXPECT_EQ(browser->NumEntries(), c.deleted ? 1u : 2u);
        if (!c.deleted) {
            EXPECT_TRUE(browser->GetEntry(2).Valid()) << "the entry is put back";
            size_t asked = driver::AlertLog().size();
            EXPECT_FALSE(browser->LoadPreview(2));
            EXPECT_EQ(driver::AlertLog().size(), asked) << "a kept file is asked about once";
            EXPECT_FALSE(browser->GetEntry(2)->GetPreview().Valid()) << "the blank picture is not cached";
        }
        if (!c.deleted && !c.goneBeforeTheAnswer) {
            size_t asked = driver::AlertLog().size();
            driver::ScriptMessageBoxes(c.answers);
            SmartPtr<CBrowser> next = MakeBrowser(19, kThreeByTwo);
            EXPECT_FALSE(next->LoadPreview(2));
            EXPECT_EQ(driver::AlertLog().size(), asked + c.alerts.size()) << "another browser asks again";
        }
    }
}

// Only a damaged page is offered for deletion. A page the system will not let the program read
// (a pipe or a folder where a page should be, refused as access denied even to root; a page
// removed after the listing) shows a blank picture without a question and stays as it is; opening
// it shows the system's refusal, and once the refusal is gone its picture comes.
TEST_F(Browser, OnlyDamagedPagesAreOfferedForDeletion)
{
    const std::string corrupt = "File b.mvi is corrupt!\nDo you wish to Delete it now?";
    struct Case {
        const char* name;
        std::function<void()> make;
        std::function<void()> afterListing;
        std::vector<std::string> alerts;
        bool onDisk;
        // What opening the page tells the child (a part of the alert) and the child's answer;
        // none for a damaged page.
        const char* toldOnOpening;
        int answer;
    } cases[] = {
        { "damaged", [] { WriteBytes("b.mvi", "OBJS but nothing else"); }, nullptr, { corrupt }, true, nullptr, 0 },
        { "a pipe", [] { ASSERT_EQ(mkfifo((HostFolder() / "b.mvi").c_str(), 0666), 0); }, nullptr, {}, true,
            "(Error Number 5)", IDOK },
        { "a folder", [] { std::filesystem::create_directories(HostFolder() / "b.mvi"); }, nullptr, {}, true,
            "(Error Number 5)", IDOK },
        { "removed after the listing", [&] { WritePage("b.mvi", 9); },
            [] { std::filesystem::remove(HostFolder() / "b.mvi"); }, {}, false, "which I can't find", IDCANCEL },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(HostFolder());
        std::filesystem::create_directories(HostFolder());
        WritePage("a.mvi", 7);
        c.make();
        SmartPtr<CBrowser> browser = MakeBrowser(17, kThreeByTwo);
        ASSERT_EQ(browser->NumEntries(), 2u);
        page->AddChild(browser.Get());
        driver::RunUntilIdle();
        Rect cell = browser->CellRect(2);
        auto shown = [&] {
            return ShownRow(page->GetFrame()->GetOSWindow(), cell.top + 20, cell.left + 1, cell.left + 4);
        };
        if (c.afterListing)
            c.afterListing();
        size_t before = driver::AlertLog().size();
        if (!c.alerts.empty())
            driver::ScriptMessageBoxes({ c.answer });
        EXPECT_FALSE(browser->LoadPreview(2));
        std::vector<std::string> asked;
        for (size_t i = before; i < driver::AlertLog().size(); ++i)
            asked.push_back(driver::AlertLog()[i].text);
        EXPECT_EQ(asked, c.alerts);
        EXPECT_EQ(std::filesystem::exists(HostFolder() / "b.mvi"), c.onDisk);
        EXPECT_EQ(browser->NumEntries(), 2u);
        EXPECT_TRUE(browser->GetEntry(2).Valid()) << "the entry is put back";
        EXPECT_EQ(shown(), "www") << "a blank picture";
        if (c.toldOnOpening) {
            // Opened, as the message loop would run the click: the child is told what the system
            // said (a gone page is asked for, and not found).
            driver::ScriptMessageBoxes({ c.answer });
            before = driver::AlertLog().size();
            try {
                ClickEntry(*browser.Get(), 2);
            } catch (Exception* raised) {
                raised->Display(Alert::kStop);
                CurrentException() = SmartPtr<Exception>();
            }
            ASSERT_EQ(driver::AlertLog().size(), before + 1);
            EXPECT_NE(driver::AlertLog()[before].text.find(c.toldOnOpening), std::string::npos)
                << driver::AlertLog()[before].text;
            EXPECT_EQ(std::filesystem::exists(HostFolder() / "b.mvi"), c.onDisk) << "opening leaves it";
            // The refusal gone (the page readable again), the next drawing shows its picture.
            std::filesystem::remove_all(HostFolder() / "b.mvi");
            WritePage("b.mvi", 8);
            EXPECT_FALSE(browser->LoadPreview(2));
            EXPECT_EQ(shown(), "ggg");
        }
        page->RemoveChild(browser.Get());
    }
}

// The browser view fills the page less a 15-pixel strip at the right and the bottom, with one
// vertical scroll bar; a missing media folder is reported once and made.
TEST_F(Browser, BrowserViewOverAMissingFolder)
{
    ASSERT_FALSE(std::filesystem::exists(std::filesystem::path(driver::DriveRoot()) / "plume" / "Pictures"));
    driver::ScriptMessageBoxes({ IDOK });
    SmartPtr<FileReference> folder = OpenStartupFile("Pictures");
    ASSERT_EQ(driver::AlertLog().size(), 1u);
    EXPECT_EQ(driver::AlertLog()[0].text, "Can't find the \"Pictures\" folder. \nPlease try re-installing your software.");
    EXPECT_TRUE(folder->Exists());
    EXPECT_TRUE(folder->IsFolder());
    EXPECT_EQ(OpenStartupFile("Pictures")->Path(), std::string(folder->Path()));
    EXPECT_EQ(driver::AlertLog().size(), 1u) << "the second time the folder is there";

    SmartPtr<CTool> tool = new CTool(19, nullptr, false, nullptr);
    SmartPtr<CBrowserPane> view = new CBrowserPane(page.Get(), folder, tool, kCell, Rect(0, 0, 200, 150), Tabs());
    ASSERT_TRUE(view->GetBrowser().Valid());
    EXPECT_EQ(view->GetBrowser()->GetBounds(), Rect(0, 0, 185, 135));
    EXPECT_EQ(view->GetBrowser()->NumEntries(), 0u);
    int bars = 0;
    for (uint32_t i = 1; i <= view->GetChildren().NumItems(); ++i) {
        if (auto* bar = SmartCast<ScrollBar>(view->GetChildren().Item(i))) {
            ++bars;
            EXPECT_TRUE(bar->IsVertical());
        }
    }
    EXPECT_EQ(bars, 1);
}

// A name wider than its picture ("&" included) stays whole on one line under it, centred in the
// entry's slot, above the next row's pictures; a name wider than the slot is cut short with "..."
// inside it, clear of its neighbours.
TEST_F(Browser, NamesStayOnOneLineUnderTheirPictures)
{
    WritePage("Rock & Roll.mvi", 7);
    WritePage("Sunny beach page with a very very long name that goes on and on.mvi", 7);
    SmartPtr<CBrowser> browser = MakeBrowser(19, kThreeByTwo);
    page->AddChild(browser.Get());
    browser->InvalidateView(false);
    driver::RunUntilIdle();
    pw::platform::Frame shown = driver::ReadClientArea(page->GetFrame()->GetOSWindow());
    auto inked = [&](int32_t left, int32_t top, int32_t right, int32_t bottom) {
        std::vector<Point> ink;
        for (int32_t v = top; v < bottom; ++v)
            for (int32_t h = left; h < right; ++h) {
                const pw::platform::PaletteColor& rgb = shown.palette[shown.At(h, v)];
                if (rgb.red == 0 && rgb.green == 0 && rgb.blue == 0)
                    ink.push_back(Point(h, v));
            }
        return ink;
    };
    for (uint32_t index : { 1u, 2u }) {
        SCOPED_TRACE(index);
        Rect cell = browser->CellRect(index);
        Rect slot(cell.left - CBrowser::kMargin, cell.bottom + 5, cell.right + CBrowser::kMargin, cell.bottom + 27);
        std::vector<Point> label = inked(slot.left, slot.top, slot.right, slot.bottom);
        ASSERT_FALSE(label.empty());
        // Nothing in the gaps to the neighbours' labels.
        EXPECT_TRUE(inked(slot.left, slot.top, slot.left + 2, slot.bottom).empty()) << "clear of the left";
        EXPECT_TRUE(inked(slot.right - 2, slot.top, slot.right, slot.bottom).empty()) << "clear of the right";
        int32_t top = label.front().v;
        int32_t bottom = label.back().v;
        EXPECT_LE(bottom - top, 14) << "one line";
        int32_t left = slot.right;
        int32_t right = slot.left;
        for (const Point& p : label) {
            left = std::min(left, p.h);
            right = std::max(right, p.h + 1);
        }
        EXPECT_GT(right - left, cell.right - cell.left) << "wider than the picture";
        EXPECT_LE(std::abs((left - slot.left) - (slot.right - right)), 2) << "centred";
        bool cut = index == 2;
        // Dots are low and short: the ink of the last 8 columns is at most 3 rows high.
        int32_t endTop = bottom;
        int32_t endBottom = top;
        for (const Point& p : label) {
            if (p.h >= right - 8) {
                endTop = std::min(endTop, p.v);
                endBottom = std::max(endBottom, p.v);
            }
        }
        EXPECT_EQ(endBottom - endTop < 3, cut) << "ends in dots";
    }
    page->RemoveChild(browser.Get());
}

// Laid over the page, the browser view covers it whole: the strips the browser and its scroll bar
// leave along the bottom and beside the bar show the browser's colour, not the page below.
TEST_F(Browser, TheBrowserViewCoversThePageBelowWhole)
{
    std::filesystem::create_directories(std::filesystem::path(driver::DriveRoot()) / "plume" / "Pictures");
    SmartPtr<FileReference> folder = OpenStartupFile("Pictures");
    Rect bounds = pane->GetBounds();
    driver::RunUntilIdle();
    HWND hwnd = page->GetFrame()->GetOSWindow();
    // Something of the page's own at the bottom-right corner, where the strips will lie.
    {
        DisplayPort port(page->GetDrawingDevice(), bounds, 0);
        Rect corner(bounds.right - 30, bounds.bottom - 30, bounds.right, bounds.bottom);
        port.DrawRectangle(corner, Color(1), Color(1), 1);
    }
    SmartPtr<CTool> tool = new CTool(19, nullptr, false, nullptr);
    SmartPtr<View> view = new CBrowserPane(page.Get(), folder, tool, kCell, bounds, Tabs());
    page->AddChild(view);
    driver::RunUntilIdle();
    auto shown = driver::ReadClientArea(hwnd);
    uint8_t yellow = shown.At(bounds.right - 40, bounds.bottom - 40);
    struct Case {
        const char* name;
        int32_t h, v;
    } cases[] = {
        { "the bottom strip", bounds.right - 25, bounds.bottom - 5 },
        { "the corner below the bar", bounds.right - 5, bounds.bottom - 5 },
    };
    for (const Case& c : cases)
        EXPECT_EQ(shown.At(c.h, c.v), yellow) << c.name;
    page->RemoveChild(view);
}
