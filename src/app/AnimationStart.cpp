#include "app/AnimationStart.h"

#include "app/PageView.h"
#include "authoring/panes/ApplicationHooks.h"
#include "authoring/panes/Scrap.h"
#include "engine/CHAApp.h"
#include "engine/CShow.h"
#include "foundation/Chore.h"
#include "foundation/FileReference.h"
#include "ui/AppSignals.h"
#include "ui/ClipTask.h"
#include "ui/Menu.h"
#include "ui/Window.h"
#include "ui/WindowSignals.h"

#include <string>

namespace pw::app {

namespace {

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

// The opener while it waits; never destroyed at exit, when the platform is already down.
SmartPtr<Chore>& Opener()
{
    static auto* opener = new SmartPtr<Chore>;
    return *opener;
}

// Runs once, after the framework has installed the application: opens the sample page and
// plays it.
class OpenSample : public Chore {
public:
    OpenSample()
        : Chore(1, false, 0)
    {
    }
    void Perform() override
    {
        CHAApp* app = CHAApp::Get();
        if (!app)
            return;
        std::string path = std::string(FileReference::StartupFolder().Path()) + "\\" + kSamplePage;
        FileReference file(path.c_str());
        SmartPtr<CShow> show;
        if (file.Exists())
            show = app->OpenIntoActivePane(file);
        if (!show.Valid()) {
            show = app->MakeModel();
            app->MakeDocumentWindow(show.Get(), SmartPtr<Scribe>());
        }
        if (show->GetPlayer())
            show->GetPlayer()->Start();
        Opener() = nullptr;
    }
};

} // namespace

App* MakeAnimationApp()
{
    CShow::SetViewMaker(&PageView::Make);
    pw::authoring::InstallApplicationHooks();
    auto* app = new CHAApp(BuildMenus(), FileCreatorType("Plumewright", 0x506C6D77));
    pw::authoring::BindScrap(app->GetClipboard());
    Opener() = new OpenSample;
    return app;
}

} // namespace pw::app
