#include "ui/App.h"

#include "foundation/CorruptFile.h"
#include "foundation/Exception.h"
#include "foundation/File.h"
#include "foundation/FileReference.h"
#include "foundation/FileType.h"
#include "foundation/GenericSignal.h"
#include "foundation/ObjectFile.h"
#include "foundation/Scribe.h"
#include "foundation/SimpleReference.h"
#include "foundation/SystemErrorException.h"
#include "ui/ClipTask.h"
#include "ui/DocWindow.h"
#include "ui/MenuBar.h"
#include "ui/MenuItem.h"
#include "ui/Tool.h"
#include "ui/View.h"
#include "ui/Window.h"

PW_DEFINE_CLASS(App, nullptr, nullptr, FormatPicker, SmartImplementation)
PW_DEFINE_NO_COPY_SLOTS(App)

namespace {

pw::ui::OsApp* nextOsApp = nullptr;

} // namespace

App::App(const SmartPtr<MenuBar>& menuBar, const FileCreatorType& creator, const SmartPtr<TypeIndex>& documentTypes)
    : osApp(nextOsApp)
    , creator(creator)
    , documentTypes(documentTypes)
    , menuBar(menuBar.Valid() ? menuBar : SmartPtr<MenuBar>(new MenuBar))
{
}

App::~App()
{
    for (uint32_t i = windows.NumItems(); i >= 1; --i) {
        if (Window* window = windows.Item(i))
            window->RemoveOwner(this);
    }
}

void App::SetOsApp(pw::ui::OsApp* record)
{
    nextOsApp = record;
}

SmartPtr<Scribe> App::OpenScribe(const SmartPtr<FileReference>& file, uint8_t mode)
{
    if (!documentTypes.Valid())
        return SmartPtr<Scribe>();
    SmartPtr<Stream> stream;
    try {
        stream = new File(*file.Get(), mode);
    } catch (Exception* exception) {
        // A document the user may read but not write (a read-only copy) opens for reading alone:
        // it shows and plays, and its scribe refuses to save it there.
        if (!(mode & File::kWrite) || !IsSystemError(exception, ERROR_ACCESS_DENIED))
            throw;
        CurrentException() = SmartPtr<Exception>();
        stream = new File(*file.Get(), uint8_t(mode & ~File::kWrite));
    }
    return SmartPtr<Scribe>(new ObjectFile(documentTypes, stream));
}

SmartPtr<FileReference> App::ChooseFile(int32_t mode)
{
    if (!documentTypes.Valid())
        return SmartPtr<FileReference>();
    switch (mode) {
    case 0:
    case 3:
        return FileReference::FileReferenceFromDialogList(GetFileTypes(mode));
    case 1:
    case 2:
    case 5:
        return FileReference::FileReferenceFromSaveDialog(documentTypes->GetFileType(), creator,
            [this](FileReference& file) { return MayStoreIn(file); }, mode == 5);
    default:
        return SmartPtr<FileReference>();
    }
}

bool App::MayStoreIn(FileReference&)
{
    return true;
}

SmartList<FileType> App::GetFileTypes(int32_t)
{
    SmartList<FileType> types;
    if (documentTypes.Valid())
        types.Append(new FileType(documentTypes->GetFileType()));
    return types;
}

SmartPtr<Window> App::MakeDocumentWindow(const SmartPtr<Smart>& model, const SmartPtr<Scribe>& scribe)
{
    SmartPtr<Window> window(
        new DocWindow(new SimpleReference(model), SmartPtr<String>(), SmartPtr<DocWindow>(), scribe, false));
    AddWindow(window, true);
    return window;
}

// The caller's reference is left as it was when the user locates its file.
void App::OpenDocument(const SmartPtr<FileReference>& chosen, bool flagA, bool asCopy)
{
    if (!CanOpen() || !chosen.Valid())
        return;
    SmartPtr<FileReference> file = new FileReference(*chosen.Get());
    file->LocateIfGone();
    SmartPtr<Scribe> scribe = OpenScribe(file, asCopy ? 1 : 3);
    if (!scribe.Valid())
        return;
    SmartPtr<Smart> model = ReadDocument(*scribe.Get());
    if (!model.Valid())
        return;
    MakeDocumentWindow(model, asCopy ? SmartPtr<Scribe>() : scribe);
    if (flagA)
        Exception::Warn(kNotImplemented, PW_HERE);
}

const ClassInfo* App::GetDocumentClass() const
{
    return nullptr;
}

SmartPtr<Smart> App::ReadDocument(Scribe& scribe)
{
    SmartPtr<Smart> model = scribe.Read();
    const ClassInfo* documentClass = GetDocumentClass();
    if (!model.Valid() || !documentClass || model->IsKindOf(documentClass))
        return model;
    pw::foundation::ShowCorruptFile(PW_HERE);
    return SmartPtr<Smart>();
}

void App::Open(int32_t mode)
{
    if (!CanOpen())
        return;
    // A cancelled dialog chooses nothing, and nothing is opened.
    SmartPtr<FileReference> file = ChooseFile(mode);
    if (file.Valid())
        OpenDocument(file, false, mode == 3);
}

bool App::CanOpen()
{
    return true;
}

bool App::DoKey(uint8_t character, uint32_t)
{
    if (character != 8)
        return false;
    // A clear with nothing to clear would only replace the window's undo step with one that
    // does nothing.
    if (CanRunViewTask(ClipTask::kClear))
        RunViewTask(ClipTask::kClear);
    return true;
}

void App::RunViewTask(int32_t mode)
{
    SmartPtr<View> view = FocusView(nullptr);
    if (!view.Valid())
        return;
    SmartPtr<Task> task(new ClipTask(GetClipboard(), view, mode, 0, Point(0, 0)));
    if (!task.Valid())
        AssertionFailed("task.Valid()", PW_HERE);
    SmartPtr<Window> front = FrontWindow();
    if (front.Valid())
        front->SetUndoTask(task);
    task->Do();
}

bool App::CanRunViewTask(int32_t mode)
{
    if (mode == ClipTask::kPaste && !GetClipboard()->Contents().Valid())
        return false;
    // Without a focused view (no document window) there is nothing to clip.
    SmartPtr<View> view = FocusView(nullptr);
    return view.Valid() && view->CanClip(mode);
}

bool App::HasReceiver(GenericSignal* signal)
{
    return FindReceiver(signal).Valid();
}

int32_t App::SignalStatus(GenericSignal* signal)
{
    SmartPtr<Smart> receiver = FindReceiver(signal);
    return receiver.Valid() ? signal->GetSignalStatus(receiver.Get()) : GenericSignal::disabled;
}

void App::SendSignal(GenericSignal* signal)
{
    SmartPtr<Smart> receiver = FindReceiver(signal);
    if (!receiver.Valid())
        ThrowError("Nothing to send to", PW_HERE);
    signal->Send(receiver.Get());
}

void App::SetCurrentTool(const SmartPtr<Tool>& tool)
{
    currentTool = tool;
}

SmartPtr<Tool> App::GetCurrentTool()
{
    if (!currentTool.Valid())
        currentTool = new Tool;
    return currentTool;
}

void App::Quit(int32_t mode)
{
    // Newest first; a window may close itself while asked, so the index is kept inside the list.
    for (uint32_t i = windows.NumItems(); i >= 1; --i) {
        if (i > windows.NumItems())
            continue;
        SmartPtr<Window> window = windows.Item(i);
        if (window.Valid() && !window->CanClose(mode))
            return;
    }
    state &= uint8_t(~kRunning);
    try {
        FileReference::SavePreviews();
    } catch (Exception*) {
        CurrentException() = SmartPtr<Exception>();
    }
}

void App::DoAbout()
{
}

void App::ArrangeWindow(int32_t, const SmartPtr<Smart>&)
{
}

SmartPtr<Smart> App::FindReceiver(GenericSignal* signal)
{
    if (!signal)
        return SmartPtr<Smart>();
    SmartPtr<View> view = FocusView(signal);
    if (view.Valid())
        return SmartPtr<Smart>(view.Get());
    Smart* self = this;
    if (signal->GetSignalStatus(self) != GenericSignal::disabled)
        return SmartPtr<Smart>(self);
    return SmartPtr<Smart>();
}

void App::WindowChanged(void*)
{
}

void App::TaskDone(const SmartPtr<Task>&)
{
}

void App::WindowOpened(const SmartPtr<Window>& window)
{
    AddWindow(window, true);
}

void App::WindowClosed(const SmartPtr<Window>& window)
{
    RemoveWindow(window);
}

void App::WindowCommand(const SmartPtr<GenericSignal>& signal)
{
    if (HasReceiver(signal.Get()))
        SendSignal(signal.Get());
}

void App::InstallMenus()
{
    menuBar->Install(*this);
}

SmartPtr<MenuItem> App::FindMenuItem(uint32_t command)
{
    return menuBar->FindItem(command);
}

void App::EnableMenus(void* argument)
{
    menuBar->EnableAll(reinterpret_cast<intptr_t>(argument), *this);
}

SmartPtr<Clipboard> App::GetClipboard()
{
    if (!appClip.Valid())
        appClip = new Clipboard;
    return appClip;
}
