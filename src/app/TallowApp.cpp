#include "app/TallowApp.h"

#include "app/AboutView.h"
#include "app/BuildMenus.h"
#include "app/ProjectNameDialog.h"
#include "app/TallowResources.h"
#include "app/TallowWindow.h"
#include "app/tabs/TabSetSelector.h"
#include "app/tabs/TallowTabs.h"
#include "authoring/palettes/CKidTools.h"
#include "authoring/panes/ApplicationHooks.h"
#include "authoring/panes/CHAPane.h"
#include "authoring/panes/Scrap.h"
#include "authoring/selectors/CPatternSelector.h"
#include "engine/CFWDecorator.h"
#include "engine/CMovieGroup.h"
#include "engine/CPanePlay.h"
#include "engine/CShow.h"
#include "foundation/Alert.h"
#include "foundation/Exception.h"
#include "foundation/SimpleReference.h"
#include "ui/DocWindow.h"
#include "ui/View.h"
#include "ui/Window.h"

#include <string>

PW_DEFINE_CLASS(TallowApp, nullptr, nullptr, CTumblerApp)

namespace {

constexpr int32_t kProjectsFolder = 0;
constexpr int32_t kExportFolder = 5;
// "Pages can't be saved in the "%1" folder ..."
constexpr int32_t kNotInExportFolder = 63;
// 'Zrkt', the creator of the program's documents.
constexpr uint32_t kCreatorCode = 0x5A726B74;
// The tab-set window: a floating window with a small title.
constexpr int32_t kTabSetWindowKind = 5;
// The gap between the tab-set window and the frame of the page windows.
constexpr int32_t kTabSetGap = 5;

// The page pane at the end of the window's chain of focused children, or null.
CPanePlay* FocusedPane(View& window)
{
    for (SmartPtr<View> view(&window); view.Valid(); view = view->GetFocusChild()) {
        if (auto* pane = SmartCast<CPanePlay>(view.Get()))
            return pane;
    }
    return nullptr;
}

// Holds a value in a slot until the scope ends, also when an exception passes; then empties it.
template <class T>
class Holding {
public:
    Holding(T& slot, const T& value)
        : slot(slot)
    {
        slot = value;
    }
    ~Holding() { slot = T(); }
    Holding(const Holding&) = delete;
    Holding& operator=(const Holding&) = delete;

private:
    T& slot;
};

} // namespace

TallowApp::TallowApp()
    : CTumblerApp(pw::app::BuildMenus(), FileCreatorType("Plumewright 1.0", kCreatorCode),
        SmartPtr<CToolsDir>(new CKidTools(false, false, true)))
    , project(&pw::app::AskProjectName)
    , scribes([this](const SmartPtr<FileReference>& file, uint8_t mode) { return CTumblerApp::OpenScribe(file, mode); },
          [this] {
              auto* window = SmartCast<DocWindow>(FindWindowForView().Get());
              return window ? window->GetScribe() : SmartPtr<Scribe>();
          },
          GetDocumentTypes()->GetFileType(), GetCreator())
{
    MakeTabSetWindow();
}

void TallowApp::MakeTabSetWindow()
{
    tabSetWindow = new Window(SmartPtr<String>(), kTabSetWindowKind, false, false, Window::defaultSize);
    tabSelector = pw::app::SetUpTabSetSelector(*tabSetWindow.Get());
    tabSetWindow->SizeToFit(true);
    CFWDecorator& decorator = CFWDecorator::Get();
    decorator.Place(*tabSetWindow.Get(), 1, 1);
    AddWindow(tabSetWindow, true);
    Rect frame(0, 0, 0, 0);
    decorator.GetFrame(frame);
    Rect placed = tabSetWindow->GetRect();
    frame.left += placed.right - placed.left + kTabSetGap;
    decorator.SetFrame(frame);
}

SmartPtr<CToolPalette> TallowApp::GetTabSelector() const
{
    return tabSelector;
}

SmartPtr<Window> TallowApp::MakePageWindow(const SmartPtr<Smart>& model, const SmartPtr<Scribe>& scribe)
{
    SmartPtr<Window> window(new TallowWindow(new SimpleReference(model), scribe, tabSelector));
    AddWindow(window, true);
    CFWDecorator::Get().Cascade(*window.Get());
    return window;
}

SmartPtr<TallowWindow> TallowApp::FrontPageWindow()
{
    return SmartCast<TallowWindow>(FindWindowForView().Get());
}

SmartPtr<Window> TallowApp::MakeDocumentWindow(const SmartPtr<Smart>& document, const SmartPtr<Scribe>& scribe)
{
    SmartPtr<TallowWindow> window = FrontPageWindow();
    if (!window.Valid())
        return MakePageWindow(document, scribe);
    if (window.Get() != agreedToLeave.Get() && !window->CanClose(2))
        return SmartPtr<Window>();
    if (!ShowPage(*window.Get(), document, scribe))
        return SmartPtr<Window>();
    return SmartPtr<Window>(window.Get());
}

bool TallowApp::ShowPage(TallowWindow& window, const SmartPtr<Smart>& document, const SmartPtr<Scribe>& scribe)
{
    // An empty show would leave the window without a page.
    SmartPtr<CShow> show = MakePageModel(document);
    if (!show.Valid())
        return false;
    // The scribe reads and writes the document it came with, not another.
    SmartPtr<Scribe> file = show.Get() == document.Get() ? scribe : SmartPtr<Scribe>();
    window.SetDocument(new SimpleReference(show.Get()), file);
    return true;
}

void TallowApp::OpenPageIn(TallowWindow& window, const SmartPtr<FileReference>& file)
{
    // A page of the history may have gone since it was shown: the user is asked to find it.
    if (file.Valid())
        file->LocateIfGone();
    SmartPtr<Scribe> scribe = file.Valid() ? OpenScribe(file, 3) : SmartPtr<Scribe>();
    if (!scribe.Valid())
        return;
    SmartPtr<Smart> document = ReadDocument(*scribe.Get());
    if (document.Valid())
        ShowPage(window, document, scribe);
}

void TallowApp::Open(int32_t mode)
{
    SmartPtr<TallowWindow> front = FrontPageWindow();
    if (front.Valid() && !front->CanClose(2))
        return;
    Holding agreed(agreedToLeave, front);
    CTumblerApp::Open(mode);
}

bool TallowApp::MayStoreIn(FileReference& file)
{
    String exportName = TallowResources::GetString(kExportFolder);
    FileReference projectFolder
        = project.GetFolder().Valid() ? *project.GetFolder().Get() : FileReference::CurrentFolder();
    std::string exportFolder;
    if (!pw::foundation::BuildPath(exportFolder, projectFolder.Path(), pw::foundation::TextOf(exportName).c_str(), 0))
        return true;
    // The project's own export folder and every folder below it; a folder elsewhere that happens
    // to have the same name (a project called "Html") is no export folder.
    std::string path = file.Path();
    size_t length = exportFolder.size();
    bool inExport = path.size() > length && path[length] == '\\'
        && pw::foundation::EqualPaths(path.substr(0, length).c_str(), exportFolder.c_str());
    if (!inExport)
        return true;
    char text[kMessageSize];
    TallowResources::GetString(text, sizeof text, kNotInExportFolder, pw::foundation::TextOf(exportName).c_str());
    Alert(Alert::kExclamation, Alert::kOk, text);
    return false;
}

void TallowApp::NewPageIfNoWindow()
{
    if (FindWindowForView().Valid())
        return;
    TallowTabs::PlayTabSound();
    NewDocument();
    // A new window shows its own first set; the child pressed My Pages, so that row shows, and
    // the button lit is the row shown.
    SmartPtr<TallowWindow> page = FrontPageWindow();
    if (!page.Valid() || !page->GetTabs().Valid())
        return;
    if (tabSelector.Valid())
        tabSelector->SelectTool(TabSetSelector::kFirstCell);
    page->GetTabs()->SelectTabSet(0);
}

// A home page made here is a new page like any other: as large as the page area that shows it.
void TallowApp::OpenHomePage(FileReference& folder, TallowWindow& window)
{
    scribes.CreateHomePage(folder, MakeModel());
    window.OpenPage(scribes.HomePageReference(folder, false));
}

TallowApp::~TallowApp() = default;

void TallowApp::NewDocument()
{
    project.Ensure();
    // The child's pages are saved in the project unless the child picks another folder; the
    // first page opened from elsewhere (a sample) must not move the current folder there.
    pw::app::PageScribes::FolderChosen();
    CHAApp::NewDocument();
}

SmartPtr<CShow> TallowApp::MakeModel()
{
    SmartPtr<TallowWindow> window = FrontPageWindow();
    if (!window.Valid())
        return CHAApp::MakeModel();
    Point size = window->GetPageArea().Size();
    return new CShow(new CMovieGroup(Rect(0, 0, size.h, size.v)));
}

SmartPtr<Scribe> TallowApp::OpenScribe(const SmartPtr<FileReference>& file, uint8_t mode)
{
    return scribes.MakeScribe(file, mode);
}

SmartPtr<String> TallowApp::DocumentFolderName()
{
    return new String(TallowResources::GetString(kProjectsFolder));
}

SmartPtr<CShow> TallowApp::MakePageModel(const SmartPtr<Smart>& document)
{
    SmartPtr<CShow> show = SmartCast<CShow>(document.Get());
    if (show.Valid() && show->GetFrameRate() == 0)
        show->SetPlayingRate(CShow::kDefaultFrameRate);
    return show;
}

void TallowApp::DoAbout()
{
    pw::app::ShowAboutPicture();
}

bool TallowApp::CanRunViewTask(int32_t mode)
{
    if (!CTumblerApp::CanRunViewTask(mode))
        return false;
    SmartPtr<Window> front = FindWindowForView();
    auto* page = dynamic_cast<TallowWindow*>(front.Get());
    if (!page)
        return true;
    // The page plays whichever view of its window has the focus: the browser's, a tab's.
    CPanePlay* pane = FocusedPane(*page);
    if (!pane)
        pane = page->GetPagePane();
    return pane && !pane->IsPlaying();
}

App* MakeApplication()
{
    CHAApp::GetOptions() = CHAApp::Options { 1, 8, CHAApp::kNoSoundsBit | 0x04 };
    CShow::SetViewMaker(&CHAPane::Make);
    pw::authoring::InstallApplicationHooks();
    auto* app = new TallowApp;
    pw::authoring::BindScrap(app->GetClipboard());
    return app;
}
