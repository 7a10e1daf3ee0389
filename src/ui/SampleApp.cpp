#include "ui/SampleApp.h"

#include "ui/AppSignals.h"
#include "ui/ClipTask.h"
#include "ui/Menu.h"
#include "ui/SampleView.h"
#include "ui/Window.h"
#include "ui/WindowSignals.h"

#include <string>

namespace pw::ui {

PW_DEFINE_CLASS(SampleApp, nullptr, nullptr, App)

SampleApp::SampleApp()
    : App(BuildMenus(), FileCreatorType("Plumewright", 0x506C6D77), SmartPtr<TypeIndex>())
{
}

App* SampleApp::Make()
{
    return new SampleApp;
}

SmartPtr<MenuBar> SampleApp::BuildMenus()
{
    SmartPtr<MenuBar> bar(new MenuBar);
    SmartPtr<Menu> file(new Menu(String("File")));
    file->AddItem(String("New Window"), 'N', new NewDocumentSignal);
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

void SampleApp::NewDocument()
{
    ++documents;
    std::string title = "Page " + std::to_string(documents);
    SmartPtr<Window> window(new Window(new String(title.c_str()), 0, false, false, Point(360, 240)));
    window->AddChild(new SampleView(window.Get(), "Type here, then try Cut and Undo."));
    int32_t offset = 24 * ((documents - 1) % 8);
    Rect frame = window->GetRect();
    window->SetFrame(Rect(20 + offset, 20 + offset, 20 + offset + frame.right - frame.left,
        20 + offset + frame.bottom - frame.top));
    AddWindow(window, true);
}

} // namespace pw::ui
