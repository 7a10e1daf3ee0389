#include "app/AnimationStart.h"

#include "authoring/application/CTumblerApp.h"
#include "authoring/panes/CHAPane.h"
#include "authoring/panes/ApplicationHooks.h"
#include "authoring/panes/Scrap.h"
#include "engine/CFWDecorator.h"
#include "engine/CHAApp.h"
#include "engine/CShow.h"
#include "engine/CPlayer.h"
#include "foundation/FileReference.h"
#include "foundation/Scribe.h"
#include "ui/AppSignals.h"
#include "ui/ClipTask.h"
#include "ui/Menu.h"
#include "ui/Window.h"
#include "ui/WindowFrame.h"
#include "ui/WindowSignals.h"

#include <string>

namespace pw::app {

namespace {

using namespace pw::ui;

constexpr const char* kUntitledPage = "Untitled Page";

SmartPtr<MenuBar> BuildMenus()
{
    SmartPtr<MenuBar> bar(new MenuBar);
    SmartPtr<Menu> file(new Menu(String("File")));
    file->AddItem(String("New Page"), 'N', new NewDocumentSignal);
    file->AddSeparator();
    file->AddItem(String("Quit"), 'Q', new QuitSignal);
    bar->AddMenu(file);
    SmartPtr<Menu> edit(new Menu(String("Edit")));
    edit->AddItem(String("Undo"), 'Z', new UndoSignal, Window::kUndoCommand);
    edit->AddSeparator();
    edit->AddItem(String("Cut"), 'X', new ClipTaskSignal(ClipTask::kCut));
    edit->AddItem(String("Copy"), 'C', new ClipTaskSignal(ClipTask::kCopy));
    edit->AddItem(String("Paste"), 'V', new ClipTaskSignal(ClipTask::kPaste));
    edit->AddItem(String("Delete"), 0, new ClipTaskSignal(ClipTask::kClear));
    bar->AddMenu(edit);
    return bar;
}

// The children's application as the program starts it: its first new document is the sample
// page (an empty page when the file is missing or unreadable), playing in a window of its size.
// No tools window is given out yet.
class StartApp : public CTumblerApp {
public:
    StartApp()
        : CTumblerApp(BuildMenus(), FileCreatorType("Plumewright", 0x506C6D77), nullptr)
    {
    }

    void NewDocument() override
    {
        if (started) {
            CHAApp::NewDocument();
            return;
        }
        started = true;
        std::string path = std::string(FileReference::StartupFolder().Path()) + "\\" + kSamplePage;
        FileReference file(path.c_str());
        SmartPtr<CShow> show;
        if (file.Exists())
            show = OpenIntoActivePane(file);
        if (!show.Valid()) {
            show = MakeModel();
            MakeDocumentWindow(show.Get(), SmartPtr<Scribe>());
        }
        if (CPlayer* player = show->GetPlayer())
            player->Start();
    }

    // A page window shows its page at full size, and a page without a file is titled "Untitled
    // Page". The window is sized before it is cascaded (which CHAApp's own does at the framework's
    // default size), so that the cascade places it at the size it keeps.
    SmartPtr<Window> MakeDocumentWindow(const SmartPtr<Smart>& model, const SmartPtr<Scribe>& scribe) override
    {
        SmartPtr<Window> window = App::MakeDocumentWindow(model, scribe);
        if (!window.Valid())
            return window;
        if (auto* show = SmartCast<CShow>(model.Get())) {
            Rect bounds(0, 0, 0, 0);
            show->GetMovie()->GetBounds(bounds);
            Point outer = window->GetFrame()->OuterSize(Point(bounds.right - bounds.left, bounds.bottom - bounds.top));
            window->SetSize(outer.h, outer.v);
            if (!show->GetFile().Valid())
                window->GetFrame()->SetTitle(String(kUntitledPage));
        }
        CFWDecorator::Get().Cascade(*window.Get());
        return window;
    }

private:
    bool started { false };
};

} // namespace

App* MakeAnimationApp()
{
    CShow::SetViewMaker(&CHAPane::Make);
    pw::authoring::InstallApplicationHooks();
    // This program starts and quits without the children's application's sounds.
    CHAApp::GetOptions() = CHAApp::Options { 1, 8, CHAApp::kNoSoundsBit | 0x04 };
    auto* app = new StartApp;
    pw::authoring::BindScrap(app->GetClipboard());
    return app;
}

} // namespace pw::app
