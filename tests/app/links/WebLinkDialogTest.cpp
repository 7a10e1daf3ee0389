// The link command and its dialog driven through the real window with typed keys, over a page pane
// with sprites: what the field starts with, what OK and Cancel leave in the sprites, the clipboard
// and the current tool, when the command is offered, and the typed address in the exported page.
#include "app/links/LinkSignal.h"
#include "app/links/WebLinkDialog.h"

#include "export/LinkHREF.h"
#include "export/PageMaker.h"
#include "foundation/Clipboard.h"
#include "foundation/Failure.h"
#include "ui/Control.h"
#include "ui/TextView.h"

#include "app/DialogSteps.h"
#include "app/TextsShown.h"
#include "authoring/panes/PaneFixture.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

namespace driver = pw::platform::testing;
using dialogtest::WindowText;
using pw::foundation::TextOf;

constexpr const char* kPrompt = "Enter the URL for this object's link:";
constexpr const char* kWebExample = "http://www.plume.example/";
constexpr const char* kMailExample = "mailto:info@plume.example";

// The dialog as the user sees it: its static texts, its field and its buttons.
struct Seen {
    std::vector<std::string> texts;
    std::string field;
    std::map<std::string, HWND> buttons;
    std::vector<std::string> cut;
};

Seen Look(Dialog& dialog)
{
    Seen seen;
    const SmartList<View>& children = dialog.GetChildren();
    for (uint32_t index = 1; index <= children.NumItems(); ++index) {
        View* child = children.Item(index);
        if (auto* text = dynamic_cast<TextView*>(child)) {
            if (text->GetEditWindow()) {
                seen.field = WindowText(text->GetEditWindow());
                continue;
            }
            seen.texts.push_back(TextOf(*text->GetText().Get()));
        } else if (auto* control = dynamic_cast<Control*>(child))
            seen.buttons[WindowText(control->GetControlWindow())] = control->GetControlWindow();
    }
    seen.cut = dialogtest::TextsNotWhole(dialog);
    return seen;
}

using Step = std::function<void(const Seen&)>;

// Typed over the whole field, which has the keyboard when the dialog opens.
Step Type(const std::string& text)
{
    return [text](const Seen&) {
        driver::PressKey(VK_CONTROL);
        driver::TypeKey('A');
        driver::ReleaseKey(VK_CONTROL);
        driver::TypeText(text);
    };
}

Step Button(const char* button)
{
    return [button](const Seen& seen) { dialogtest::ClickIn(seen.buttons.at(button)); };
}

Step Key(uint8_t key)
{
    return [key](const Seen&) { driver::TypeKey(key); };
}

// The address of the sprite's link at the frame, "-" without a link, "page" for a link that is no
// web link.
std::string AddressAt(CSprite* sprite, int16_t frame)
{
    CLink* link = sprite->LinkAtFrame(frame);
    if (!link)
        return "-";
    auto* href = SmartCast<LinkHREF>(link->GetHREF().Get());
    return href && link->GetKind() == CLink::kWebLink ? TextOf(href->GetHREF()) : "page";
}

SmartPtr<CLink> WebLink(const char* address)
{
    SmartPtr<CLink> link = new CLink;
    link->SetHREF(new LinkHREF(String(address)));
    return link;
}

class WebLinkDialogTest : public authoring::PaneTest {
protected:
    void TearDown() override
    {
        driver::SetIdleHandler(nullptr);
        PaneTest::TearDown();
    }

    // Sends the command to the pane; each time the dialog waits for the user, the next step looks
    // at it and gives it input.
    void Run(int32_t kind, const std::vector<Step>& steps, const SmartPtr<CTool>& tool = {})
    {
        SmartPtr<LinkSignal> signal(new LinkSignal(kind, tool));
        dialogtest::Drive<WebLinkDialog, Seen>(
            *app, [&] { EXPECT_EQ(Failure([&] { signal->Send(pane.Get()); }), ""); }, Look, steps, seen);
        EXPECT_EQ(dialogtest::OpenDialog<WebLinkDialog>(*app), nullptr) << "the dialog is still open";
    }

    // Sprites over frames 0 to 2; those given are selected, in that order.
    std::vector<CSprite*> Sprites(int count, std::vector<int> selected)
    {
        std::vector<CSprite*> made;
        for (int index = 0; index < count; ++index)
            made.push_back(AddSprite(Rect(10 + 40 * index, 20, 40 + 40 * index, 40), 0, 3));
        for (int index : selected)
            pane->SelectObject(made[size_t(index)], true);
        return made;
    }

    // Each sprite's addresses at frames 0, 1 and 2.
    static std::vector<std::string> Addresses(const std::vector<CSprite*>& sprites)
    {
        std::vector<std::string> all;
        for (CSprite* sprite : sprites)
            all.push_back(AddressAt(sprite, 0) + " " + AddressAt(sprite, 1) + " " + AddressAt(sprite, 2));
        return all;
    }

    Seen seen;
};

TEST_F(WebLinkDialogTest, TheFieldStartsWithTheOneSelectedSpritesAddressElseTheExample)
{
    struct Case {
        const char* name;
        int32_t kind;
        std::vector<const char*> links; // a web address, "page" or "" per sprite
        std::vector<int> selected;
        std::string field;
        std::string example;
    } cases[] = {
        { "one sprite with a web link", 0, { "http://zoo.example.org/", "" }, { 0 }, "http://zoo.example.org/",
            kWebExample },
        { "one sprite with a page link", 0, { "page" }, { 0 }, kWebExample, kWebExample },
        { "one sprite without a link", 0, { "" }, { 0 }, kWebExample, kWebExample },
        { "two sprites, both linked", 0, { "http://a.example/", "http://b.example/" }, { 0, 1 }, kWebExample,
            kWebExample },
        { "the mail form", 1, { "" }, { 0 }, kMailExample, kMailExample },
        { "the mail form keeps a sprite's address", 1, { "mailto:kim@example.com" }, { 0 }, "mailto:kim@example.com",
            kMailExample },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Each case adds sprites of its own; the earlier ones stay, unselected.
        pane->SelectObject(nullptr, false);
        std::vector<CSprite*> sprites = Sprites(int(c.links.size()), c.selected);
        for (size_t index = 0; index < sprites.size(); ++index) {
            std::string link = c.links[index];
            if (link == "page")
                sprites[index]->SetLink(0, 3, pagemaker::PageLink("c:\\Proj\\Other.mvi").Get());
            else if (!link.empty())
                sprites[index]->SetLink(0, 3, WebLink(link.c_str()).Get());
        }
        std::vector<std::string> before = Addresses(sprites);
        int changes = page->changes;
        Run(c.kind, { Button("Cancel") });
        EXPECT_EQ(seen.field, c.field);
        EXPECT_EQ(seen.texts, (std::vector<std::string> { kPrompt, "Example: " + c.example }));
        EXPECT_EQ(seen.cut, std::vector<std::string>()) << "every text shows whole";
        EXPECT_EQ(Addresses(sprites), before) << "Cancel changes no link";
        EXPECT_EQ(page->changes, changes) << "Cancel reports no change";
    }
}

// OK makes one web link of the text as typed and gives it to every selected sprite on all its
// frames, replacing the page link it had there; unselected sprites keep what they had.
TEST_F(WebLinkDialogTest, OkLinksEverySelectedSpriteOverAllItsFramesReplacingItsLinks)
{
    struct Case {
        const char* name;
        std::vector<Step> steps;
        std::vector<std::string> addresses;
    } cases[] = {
        { "typed, then OK", { Type("http://www.example.com/space"), Button("OK") },
            { "http://www.example.com/space http://www.example.com/space http://www.example.com/space", "- - -",
                "http://www.example.com/space http://www.example.com/space http://www.example.com/space" } },
        { "Return ends it as OK", { Type("mailto:kim@example.com\n") },
            { "mailto:kim@example.com mailto:kim@example.com mailto:kim@example.com", "- - -",
                "mailto:kim@example.com mailto:kim@example.com mailto:kim@example.com" } },
        { "an empty field still links", { Type(""), Key(VK_DELETE), Button("OK") }, { "  ", "- - -", "  " } },
        { "Escape after typing", { Type("http://typed.example/"), Key(VK_ESCAPE) },
            { "page page page", "- - -", "- - -" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Each case adds sprites of its own; the earlier ones stay, unselected.
        pane->SelectObject(nullptr, false);
        std::vector<CSprite*> sprites = Sprites(3, { 2, 0 });
        sprites[0]->SetLink(0, 3, pagemaker::PageLink("c:\\Proj\\Other.mvi").Get());
        int changes = page->changes;
        Run(0, c.steps);
        EXPECT_EQ(Addresses(sprites), c.addresses);
        bool accepted = c.addresses[2] != "- - -";
        EXPECT_EQ(page->changes > changes, accepted) << "the page hears of the change";
        if (accepted) {
            EXPECT_EQ(sprites[0]->LinkAtFrame(0)->GetHREF(), sprites[2]->LinkAtFrame(0)->GetHREF())
                << "one web link for all";
        }
    }
}

// With a tool OK gives the address once. With nothing selected it links nothing and leaves the
// page unchanged: the link goes on the clipboard for the tool, which becomes the current tool with
// its sound due. With a picture selected that picture takes it at once, over the frames a press of
// the tool reaches, and the tool is not taken. Cancel leaves clipboard and tool as they were.
TEST_F(WebLinkDialogTest, WithAToolTheLinkGoesOntoTheSelectionElseToTheTool)
{
    SmartPtr<CTool> before = UseTool(3);
    std::vector<CSprite*> sprites = Sprites(1, { 0 });
    SmartPtr<String> held(new String("held"));
    app->GetClipboard()->Put(held.Get());

    SmartPtr<CTool> linker = new CTool(20, nullptr, false, nullptr);
    Run(0, { Type("http://cancelled.example/"), Button("Cancel") }, linker);
    EXPECT_EQ(app->GetClipboard()->Contents().Get(), static_cast<Smart*>(held.Get()));
    EXPECT_EQ(app->GetCurrentTool().Get(), static_cast<Tool*>(before.Get()));
    EXPECT_FALSE(linker->IsSoundPending());

    int changes = page->changes;
    int16_t first = 0;
    int16_t last = 0;
    pane->GetFrameRange(first, last, false);
    Run(0, { Type("http://zoo.example/"), Button("OK") }, linker);
    for (int16_t frame = 0; frame < 3; ++frame) {
        bool reached = frame >= first && frame <= last;
        EXPECT_EQ(AddressAt(sprites[0], frame), reached ? "http://zoo.example/" : "-") << "frame " << frame;
    }
    EXPECT_EQ(app->GetCurrentTool().Get(), static_cast<Tool*>(before.Get())) << "no tool holds it";
    EXPECT_FALSE(linker->IsSoundPending());
    EXPECT_GT(page->changes, changes) << "the page hears of the link";

    pane->SelectObject(nullptr, false);
    changes = page->changes;
    Run(1, { Type("mailto:kim@example.com"), Button("OK") }, linker);
    auto* link = SmartCast<CLink>(app->GetClipboard()->Contents().Get());
    ASSERT_NE(link, nullptr) << "a link, as the tool attaches from the clipboard";
    EXPECT_EQ(link->GetKind(), CLink::kWebLink);
    auto* href = SmartCast<LinkHREF>(link->GetHREF().Get());
    ASSERT_NE(href, nullptr);
    EXPECT_EQ(TextOf(href->GetHREF()), "mailto:kim@example.com");
    EXPECT_EQ(app->GetCurrentTool().Get(), static_cast<Tool*>(linker.Get()));
    EXPECT_TRUE(linker->IsSoundPending());
    EXPECT_EQ(AddressAt(sprites[0], first), "http://zoo.example/") << "the tool attaches it, not OK";
    EXPECT_EQ(page->changes, changes) << "the page is as it was";
}

// Offered for a page pane somebody holds when it has a selected sprite or the command carries a
// tool; sent where it is not offered, it fails its assertion.
TEST_F(WebLinkDialogTest, TheCommandIsOfferedForAHeldPaneWithASelectionOrATool)
{
    SmartPtr<CTool> tool = new CTool(20, nullptr, false, nullptr);
    SmartPtr<LinkSignal> plain(new LinkSignal(0));
    SmartPtr<LinkSignal> withTool(new LinkSignal(0, tool));
    std::vector<CSprite*> sprites = Sprites(1, {});
    auto offered = [](LinkSignal& signal, Smart* watcher) {
        return signal.GetSignalStatus(watcher) == GenericSignal::enabled;
    };
    EXPECT_FALSE(offered(*plain.Get(), pane.Get())) << "nothing selected";
    EXPECT_TRUE(offered(*withTool.Get(), pane.Get())) << "nothing selected, a tool";
    EXPECT_FALSE(offered(*plain.Get(), page.Get())) << "not a page pane";
    EXPECT_EQ(Failure([&] { plain->Send(pane.Get()); }), "GetSignalStatus(watcher) != disabled");
    pane->SelectObject(sprites[0], true);
    EXPECT_TRUE(offered(*plain.Get(), pane.Get())) << "a sprite selected";

    // A pane that nobody holds yet.
    CHAPane* loose = new CHAPane(page.Get(), show->GetPlayer(), false);
    EXPECT_FALSE(offered(*withTool.Get(), loose));
    SmartPtr<CHAPane> release(loose);
}

// The typed address is what the saved page's image map links to, escaped for the attribute, and
// what the stored page keeps.
TEST_F(WebLinkDialogTest, TheTypedAddressReachesTheExportedImageMap)
{
    const std::string hostile = "http://x.example/?a=1&b=\"<2>\"";
    driver::MakeHostFolder("Proj");
    pw::platform::Clock::SetTickStep(0);
    std::vector<CSprite*> sprites = Sprites(1, { 0 });
    Run(0, { Type(hostile), Button("OK") });
    pagemaker::Save("Home", show.Get());

    std::string html = driver::ReadHostFile("Proj/HTML/Home.htm");
    EXPECT_NE(html.find("<AREA SHAPE=\"RECT\" COORDS=\"0,0,30,20\" "
                        "HREF=\"http://x.example/?a=1&amp;b=&quot;&lt;2&gt;&quot;\">\n"),
        std::string::npos)
        << html;
    SmartPtr<FileReference> file = new FileReference("c:\\Proj\\Home.mvi");
    SmartPtr<ObjectFile> reader = new ObjectFile(GetGenericTypeIndex(), new File(*file.Get(), 1));
    SmartPtr<Smart> back = reader->Read();
    auto* stored = SmartCast<CShow>(back.Get());
    ASSERT_NE(stored, nullptr);
    auto* storedGroup = SmartCast<CMovieGroup>(stored->GetMovie().Get());
    ASSERT_EQ(storedGroup->NumSprites(), 1u);
    EXPECT_EQ(AddressAt(storedGroup->GetSprite(0), 0), hostile);
    stored->Close();
}

} // namespace
