#include "engine/CHAApp.h"

#include "engine/CFWDecorator.h"
#include "engine/CMemory.h"
#include "engine/CMovieGroup.h"
#include "engine/CPanePlay.h"
#include "engine/CPlayer.h"
#include "engine/CShow.h"
#include "engine/ShowFileType.h"
#include "foundation/Alert.h"
#include "foundation/Chore.h"
#include "foundation/Exception.h"
#include "foundation/Memory.h"
#include "foundation/ObjectFile.h"
#include "foundation/SystemErrorException.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"
#include "graphics/ScaleTrans.h"
#include "graphics/SoundChannel.h"
#include "ui/AppGlue.h"
#include "ui/DocWindow.h"
#include "ui/Window.h"

#include <string>

PW_DEFINE_CLASS(CHAApp, nullptr, nullptr, App, NumberCommandHandler)

namespace {

CHAApp::Hooks& TheHooks()
{
    static CHAApp::Hooks hooks;
    return hooks;
}

class Idler : public Chore {
public:
    explicit Idler(CHAApp& app)
        : Chore(CHAApp::kIdlePeriod, true, 0)
        , app(app)
    {
    }
    void Perform() override { app.IdleStep(); }

private:
    CHAApp& app;
};

bool Holds(View& view, View* wanted)
{
    const SmartList<View>& children = view.GetChildren();
    for (uint32_t i = 1; i <= children.NumItems(); ++i) {
        View* child = children.Item(i);
        if (child && (child == wanted || Holds(*child, wanted)))
            return true;
    }
    return false;
}

} // namespace

void CHAApp::SetHooks(const Hooks& hooks)
{
    TheHooks() = hooks;
}

CHAApp::CHAApp(const SmartPtr<MenuBar>& menus, const FileCreatorType& creator)
    : App(menus, creator, GetGenericTypeIndex())
{
    CheckMemory();
    idler = new Idler(*this);
}

// The program starts only with room for the budget's reserve above its lowest limit, the least
// free memory its caches ever leave.
void CHAApp::CheckMemory()
{
    CMemory& budget = CMemory::Get();
    if (FreeVirtualMemory() < CMemory::LimitFor(CMemory::kMaxLevel) + CMemory::kReserveSize
        || !budget.RestoreReserve())
        ThrowSystemError(ERROR_NOT_ENOUGH_MEMORY, PW_HERE);
}

CHAApp::~CHAApp()
{
    if (idler.Valid())
        idler->Stop();
}

CHAApp::Options& CHAApp::GetOptions()
{
    static Options options;
    return options;
}

bool CHAApp::LinkedFileName(String& name)
{
    SmartPtr<String> folderName = DocumentFolderName();
    if (!folderName.Valid())
        return false;
    std::string path = std::string(FileReference::StartupFolder().Path()) + "\\" + pw::foundation::TextOf(*folderName.Get());
    FileReference folder(path.c_str());
    // A missing path counts as a folder to IsFolder, which the file opening relies on.
    if (!folder.Exists() || !folder.IsFolder())
        return false;
    folder.UniqueName(name, ShowFileType);
    return true;
}

CHAApp* CHAApp::Get()
{
    return SmartCast<CHAApp>(AppGlue::Application().Get());
}

void CHAApp::SetActivePane(const SmartPtr<CPanePlay>& pane)
{
    if (pane.Get() == activePane.Get())
        return;
    activePane = pane;
    if (TheHooks().tellWindows)
        TheHooks().tellWindows(*this, activePane.Get());
}

void CHAApp::ClearActivePane(CPanePlay* pane)
{
    if (!pane || pane != activePane.Get())
        return;
    activePane = nullptr;
    if (TheHooks().tellWindows)
        TheHooks().tellWindows(*this, nullptr);
}

SmartPtr<CShow> CHAApp::MakeModel()
{
    return new CShow(new CMovieGroup(CMovie::kDefaultBounds));
}

void CHAApp::NewDocument()
{
    MakeDocumentWindow(MakeModel().Get(), SmartPtr<Scribe>());
}

const ClassInfo* CHAApp::GetDocumentClass() const
{
    return &CShow::classInfo;
}

SmartPtr<Window> CHAApp::MakeDocumentWindow(const SmartPtr<Smart>& model, const SmartPtr<Scribe>& scribe)
{
    SmartPtr<Window> window = App::MakeDocumentWindow(model, scribe);
    if (window.Valid())
        CFWDecorator::Get().Cascade(*window.Get());
    return window;
}

void CHAApp::FillFrame(Window& window)
{
    Rect rect = window.GetRect();
    CFWDecorator::Get().AlignRect(rect, 3, 3, false);
    CFWDecorator::Get().MoveView(window, rect, true);
}

bool CHAApp::IdleStep()
{
    if (!activePane.Valid())
        return false;
    SmartPtr<Smart> object;
    int32_t kind = activePane->GetPlayer().TakeRequest(object);
    if (kind == 0)
        return false;
    if (kind == 3) {
        if (auto* file = SmartCast<FileReference>(object.Get()))
            OpenIntoActivePane(*file);
    }
    // Other texts (6), such as what a web link leads to (the program never follows one), are told
    // in a message box; a sprite's name (4) and a frame's label (5) have no place to show yet.
    if (kind == 6) {
        if (auto* text = SmartCast<String>(object.Get()))
            Alert(Alert::kInformation, Alert::kOk, pw::foundation::TextOf(*text).c_str());
    }
    return true;
}

// A linked page may have gone since the link was made: the user is asked to find it.
SmartPtr<CShow> CHAApp::OpenIntoActivePane(const FileReference& file)
{
    SmartPtr<CPanePlay> pane = activePane;
    SmartPtr<FileReference> page = new FileReference(file);
    page->LocateIfGone();
    SmartPtr<Scribe> scribe = OpenScribe(page, 3);
    if (!scribe.Valid())
        return nullptr;
    SmartPtr<CShow> show = SmartCast<CShow>(ReadDocument(*scribe.Get()).Get());
    if (!show.Valid())
        return nullptr;
    show->SetFile(new FileReference(*page.Get()));
    FileReference named(*page.Get());
    named.GetNameParts(show->GetName());
    if (pane.Valid())
        show->GetPlayer()->TakeOver(&pane->GetPlayer());
    MakeDocumentWindow(show.Get(), scribe);
    return show;
}

SmartPtr<Smart> CHAApp::ReadQuietly(const SmartPtr<FileReference>& file)
{
    try {
        // A plain read: no document is opened, so the application's own scribes stay out of it.
        SmartPtr<Scribe> scribe = file.Valid() ? App::OpenScribe(file, 1) : SmartPtr<Scribe>();
        if (auto* objects = SmartCast<ObjectFile>(scribe.Get()))
            objects->SetSilent(true);
        return scribe.Valid() ? scribe->Read() : SmartPtr<Smart>();
    } catch (Exception* exception) {
        if (dynamic_cast<SystemErrorException*>(exception))
            throw;
        CurrentException() = SmartPtr<Exception>();
        return SmartPtr<Smart>();
    }
}

SmartPtr<Smart> CHAApp::ImportFile(const SmartPtr<FileReference>& file, int32_t width, int32_t height)
{
    SmartPtr<Smart> root = ReadQuietly(file);
    SmartPtr<CShow> show = SmartCast<CShow>(root.Get());
    if (!show.Valid() || width <= 0 || height <= 0)
        return SmartPtr<Smart>();
    Rect page(0, 0, 0, 0);
    show->GetMovie()->GetBounds(page);
    Rect fitted = page.IsEmpty() ? Rect(0, 0, width, height)
                                 : ScaleTrans(page, Rect(0, 0, width, height), true).GetDestination();
    fitted.Offset(-fitted.left, -fitted.top);
    SmartPtr<OffScreen> buffer = new OffScreen(fitted.right, fitted.bottom, 8, Color(0), true);
    {
        DisplayPort port(*buffer.Get(), fitted, 0);
        show->DrawFrame(port, 0, fitted, 3);
    }
    show->Close();
    return SmartPtr<Smart>(buffer->GetBitMap().Get());
}

void CHAApp::Import(const SmartPtr<FileReference>& file, const SmartPtr<String>& name)
{
    if (!activePane.Valid() || !file.Valid() || !TheHooks().import)
        return;
    TheHooks().import(*this, file, name, activePane);
}

void CHAApp::WindowClosed(const SmartPtr<Window>& window)
{
    App::WindowClosed(window);
    if (activePane.Valid() && window.Valid() && Holds(*window.Get(), activePane.Get()))
        ClearActivePane(activePane.Get());
}

void CHAApp::DoCommand(int32_t number, int32_t)
{
    if (number == kSoundSwitchCommand)
        soundOff = !soundOff;
}

int32_t CHAApp::GetCommandStatus(int32_t number)
{
    if (number == kSoundSwitchCommand)
        return soundOff ? kEnabled : kChecked;
    return kDisabled;
}
