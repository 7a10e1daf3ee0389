#include "app/TallowWindow.h"

#include "app/TallowApp.h"
#include "app/tabs/TallowTabs.h"
#include "authoring/application/CTumblerApp.h"
#include "authoring/palettes/CKidTools.h"
#include "authoring/palettes/OptionViewHost.h"
#include "authoring/panes/CHAPane.h"
#include "authoring/selectors/CPatternSelector.h"
#include "export/TallowScribe.h"
#include "export/htmlElement.h"
#include "foundation/Exception.h"
#include "graphics/Color.h"
#include "graphics/DisplayPort.h"
#include "ui/WindowFrame.h"

PW_DEFINE_CLASS(TallowWindow, nullptr, nullptr, DocWindow)

namespace {

// The page file of a scribe that is a page scribe, or empty.
SmartPtr<FileReference> PageFileOf(const SmartPtr<Scribe>& scribe)
{
    auto* page = SmartCast<TallowScribe>(scribe.Get());
    return page ? page->GetDocumentFile() : SmartPtr<FileReference>();
}

// The editing pane a document view shows: its focused child, or the view itself.
CHAPane* PaneOf(const SmartPtr<View>& view)
{
    if (!view.Valid())
        return nullptr;
    SmartPtr<View> focused = view->GetFocusChild();
    return SmartCast<CHAPane>(focused.Valid() ? focused.Get() : view.Get());
}

} // namespace

TallowWindow::TallowWindow(const SmartPtr<ObjectReference>& data, const SmartPtr<Scribe>& scribe,
    const SmartPtr<CToolPalette>& selector)
    : DocWindow(data, SmartPtr<String>(), SmartPtr<DocWindow>(), scribe, true)
{
    TallowApp::MakePageModel(data.Valid() ? SmartPtr<Smart>(data->Get()) : SmartPtr<Smart>());
    Show(true);
    tabs = new TallowTabs(this, selector);
    int32_t h = tabs->GetBounds().Size().v;
    Rect document = GetContent()->GetBounds();
    GetContent()->SetBounds(document.left, document.top + h, document.right, document.bottom);
    AddChild(SmartPtr<View>(tabs.Get()));
    Rect placed = tabs->GetBounds();
    tabs->SetBounds(0, 0, placed.right - placed.left, placed.bottom - placed.top);
    Point outer = GetFrame()->OuterSize(Point(kContentWidth, kContentHeight + h));
    SetSize(outer.h, outer.v);
    // A page without a file is "Untitled Page" here too, not the document's empty name.
    SetTitleFromPage(PageFile());
}

TallowWindow::~TallowWindow() = default;

SmartPtr<TallowTabs> TallowWindow::GetTabs() const
{
    return tabs;
}

SmartPtr<FileReference> TallowWindow::PageFile() const
{
    return PageFileOf(GetScribe());
}

void TallowWindow::SetTitleFromPage(const SmartPtr<FileReference>& page)
{
    String title("Untitled Page");
    if (page.Valid()) {
        title = FileBaseName(*page.Get());
        SmartPtr<FileReference> folder = page->Parent();
        String folderName = folder.Valid() ? FileBaseName(*folder.Get()) : String();
        if (folderName.Length() > 0)
            title = folderName.Concat(String(":")).Concat(title);
    }
    GetFrame()->SetTitle(title);
}

void TallowWindow::SetBrowserPane(const SmartPtr<View>& pane)
{
    if (browserPane.Valid())
        RemoveChild(browserPane);
    if (pane.Valid())
        AddChild(pane);
    browserPane = pane;
}

void TallowWindow::Navigate(int32_t n)
{
    if (n != kBack && n != kForward && n != kHome) {
        Exception::Warn(kNotImplemented, PW_HERE);
        return;
    }
    SmartPtr<FileReference> target;
    if (n == kBack) {
        if (historyIndex == 0 && historyEnd != 0)
            target = history[historyEnd - 1];
        else if (historyIndex > 1)
            target = history[historyIndex - 2];
    } else if (n == kForward) {
        if (historyIndex != 0 && history.size() > historyIndex)
            target = history[historyIndex];
    }
    // Back and Forward with nowhere to go leave the page without asking to save it.
    if (n != kHome && !target.Valid())
        return;
    if (!CanClose(2))
        return;
    if (target.Valid())
        OpenPage(new FileReference(*target.Get()));
    else if (auto* app = SmartCast<TallowApp>(Window::GetApplication()))
        app->OpenHomePage(*GetPageFolder(*this).Get(), *this);
}

void TallowWindow::OpenPage(const SmartPtr<FileReference>& file)
{
    if (auto* app = SmartCast<TallowApp>(Window::GetApplication()))
        app->OpenPageIn(*this, file);
}

SmartPtr<FileReference> TallowWindow::GetPageFolder(Window& window)
{
    auto* document = SmartCast<DocWindow>(&window);
    SmartPtr<FileReference> page = document ? PageFileOf(document->GetScribe()) : SmartPtr<FileReference>();
    SmartPtr<FileReference> folder = page.Valid() ? page->Parent() : SmartPtr<FileReference>();
    return folder.Valid() ? folder : SmartPtr<FileReference>(new FileReference(FileReference::CurrentFolder()));
}

CHAPane* TallowWindow::GetPagePane() const
{
    return PaneOf(GetContent());
}

void TallowWindow::RecordHistory()
{
    SmartPtr<FileReference> page = PageFile();
    if (!page.Valid())
        return;
    if (uint32_t position = HistoryPosition(*page.Get())) {
        historyEnd = position;
        return;
    }
    if (historyEnd < history.size())
        history.resize(historyEnd);
    history.push_back(new FileReference(*page.Get()));
    ++historyEnd;
}

uint32_t TallowWindow::HistoryPosition(FileReference& file) const
{
    for (size_t i = 0; i < history.size(); ++i) {
        if (*history[i].Get() == file)
            return static_cast<uint32_t>(i + 1);
    }
    return 0;
}

void TallowWindow::SetDocument(const SmartPtr<ObjectReference>& newData, const SmartPtr<Scribe>& newScribe)
{
    // Every page shown here plays, however it came in.
    TallowApp::MakePageModel(newData.Valid() ? SmartPtr<Smart>(newData->Get()) : SmartPtr<Smart>());
    RecordHistory();
    // A new page is in no history: back then leads to the page it replaced, not to the one
    // before that.
    SmartPtr<FileReference> page = PageFileOf(newScribe);
    SetTitleFromPage(page);
    historyIndex = page.Valid() ? HistoryPosition(*page.Get()) : 0;
    CHAPane* old = GetPagePane();
    bool wasPlaying = old && old->IsPlaying();
    // A choice held for the next press belongs to the page it was chosen on.
    if (old)
        old->PutDownHeldChoice();
    DocWindow::SetDocument(newData, newScribe);
    if (CHAPane* pane = GetPagePane(); wasPlaying && pane)
        pane->DoCommand(kPlayCommand, 0);
}

Rect TallowWindow::GetPageArea()
{
    Rect area = GetBounds();
    if (tabs.Valid())
        area.top = tabs->GetBounds().bottom;
    return area;
}

void TallowWindow::DrawContent(DisplayPort& port, Area&)
{
    Color grey;
    grey.SetBytes(0x80, 0x80, 0x80, 0);
    port.DrawRectangle(GetPageArea(), grey, Color(Color::kNoColor), 1);
}

void TallowWindow::Save(int32_t mode)
{
    // The kid tools' close is their periodic step, which flushes the brush into the page.
    SmartPtr<CToolsDir> tools = CTumblerApp::GetTools();
    if (auto* kidTools = dynamic_cast<CKidTools*>(tools.Get()); kidTools && kidTools->ToggleShown(false))
        kidTools->Close();
    DocWindow::Save(mode);
    // A page saved under a new name shows it (a copy leaves the window's own file as it was).
    SetTitleFromPage(PageFile());
}

void TallowWindow::ActiveChanged(bool active)
{
    DocWindow::ActiveChanged(active);
    SmartPtr<CToolsDir> tools = CTumblerApp::GetTools();
    if (!tools.Valid())
        return;
    if (!active) {
        paletteWasShown = tools->ToggleShown(false);
        if (paletteWasShown) {
            tools->ToggleShown(true);
            // The tools' option window goes with them (it would stay over an empty desk once the
            // page is closed); showing the tools again makes it anew.
            if (auto* host = dynamic_cast<pw::authoring::OptionViewHost*>(GetApplication()))
                host->ShowOptionView(SmartPtr<Window>());
        }
    } else if (paletteWasShown) {
        paletteWasShown = false;
        if (!tools->ToggleShown(false))
            tools->ToggleShown(true);
    }
}

NavigateSignal::NavigateSignal(int32_t n)
    : Signal<TallowWindow>(PW_HERE)
    , number(n)
{
}

void NavigateSignal::Act(TallowWindow& window)
{
    window.Navigate(number);
}
