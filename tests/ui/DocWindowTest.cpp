#include "ui/DocWindow.h"

#include "FrameworkFixture.h"

#include "foundation/ArchiveScope.h"
#include "foundation/EditableList.h"
#include "foundation/File.h"
#include "foundation/FileReference.h"
#include "foundation/FourCharCode.h"
#include "foundation/GenericArray.h"
#include "foundation/MessageException.h"
#include "foundation/ObjectFile.h"
#include "foundation/PersistentVersion.h"
#include "foundation/SimpleReference.h"
#include "foundation/SystemErrorException.h"
#include "platform/comdlg/ComdlgTesting.h"
#include "platform/kernel/KernelTesting.h"
#include "platform/user/menus/MenuTesting.h"
#include "ui/AppSignals.h"
#include "ui/DocWindowSignals.h"
#include "ui/Menu.h"
#include "ui/MenuItem.h"
#include "ui/ProgressRange.h"

#include <filesystem>
#include <fstream>

namespace driver = pw::platform::testing;
using pw::foundation::FourCharCode;

// A stored, editable document holding one number, shown in one view.
class Note : public Persistent, public Editable, public SmartImplementation {
    PW_CLASS_INFO(Note)
    PW_COPY_SLOTS

public:
    static const PersistentVersion version;
    explicit Note(int32_t value) : value(value) { }
    void Write(Archive& archive) override { ArchiveScope(archive, version).GetStream().WriteLong(value); }
    const PersistentVersion& GetPersistentVersion() const override { return version; }
    View* MakeView(View& container) override
    {
        container.AddChild(new View(&container, container.GetBounds(), View::kSizeStretch, true, false));
        return container.GetChildren().Item(1);
    }
    String& GetName() override { return name; }

    String name { "Diary" };
    int32_t value;
};

PW_DEFINE_CLASS(Note, nullptr, nullptr, Persistent, Editable, SmartImplementation)
PW_DEFINE_COPY_SLOTS(Note)
constinit const PersistentVersion Note::version { &Note::classInfo, Fixed(1), Fixed(1), [](Archive& archive) -> Persistent* {
    return new Note(ArchiveScope(archive, Note::version).GetStream().ReadLong());
} };

namespace {

SmartPtr<TypeIndex> NoteTypes()
{
    SmartPtr<TypeIndex> types(new TypeIndex(FileType("Notes", FourCharCode("NOTE"), FourCharCode("nte ")), Fixed(1), "Notes"));
    types->AddClass(Note::version);
    types->AddClass(GenericArray::version);
    return types;
}

constexpr uint32_t kSaveCommand = 300;
constexpr uint32_t kSaveAsCommand = 301;
constexpr uint32_t kCloseCommand = 302;

// "File" with "Save", "Save As" and "Close".
SmartPtr<MenuBar> FileMenu()
{
    SmartPtr<MenuBar> bar(new MenuBar);
    SmartPtr<Menu> file(new Menu(String("File")));
    file->AddItem(String("Save"), 'S', new SaveSignal(DocWindow::kSave), kSaveCommand);
    file->AddItem(String("Save As"), 0, new SaveSignal(DocWindow::kSaveAs), kSaveAsCommand);
    file->AddItem(String("Close"), 'W', new CloseSignal, kCloseCommand);
    bar->AddMenu(file);
    return bar;
}

// The framework's application offers no file for a copy; this one asks as for "save as".
class NoteApp : public App {
public:
    NoteApp() : App(FileMenu(), FileCreatorType("Notes", FourCharCode("NOTZ")), NoteTypes()) { }
    void NewDocument() override { }
    SmartPtr<FileReference> ChooseFile(int32_t mode) override { return App::ChooseFile(mode == 4 ? 2 : mode); }
};

// What an action threw: the message, "error <code>" for a system error, or "nothing".
std::string Thrown(const std::function<void()>& action)
{
    try {
        action();
    } catch (Exception* exception) {
        if (auto* system = dynamic_cast<SystemErrorException*>(exception))
            return "error " + std::to_string(system->GetErrorCode());
        const std::string& text = dynamic_cast<MessageException*>(exception)->GetText();
        return text.substr(0, text.find('\r'));
    }
    return "nothing";
}

// The number stored in a file of the drive's root folder, -1 when there is no such file.
int32_t Stored(const std::string& name)
{
    if (!std::filesystem::exists(driver::DriveRoot() + "/" + name))
        return -1;
    SmartPtr<FileReference> reference = FileReference::FileReferenceFromPath(("c:\\" + name).c_str());
    SmartPtr<Smart> note = SmartPtr<ObjectFile>(new ObjectFile(NoteTypes(), new File(*reference.Get(), File::kRead)))->Read();
    return SmartCast<Note>(note.Get()) ? SmartCast<Note>(note.Get())->value : -2;
}

class DocWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        uitest::InstallPalette();
        FileReference::StartupFolder(); // taken now, as at start-up: the file dialogs move the current folder
        Alert::EnableAlerts();
        mainWindow = pw::ui::CreateMainWindow(nullptr);
        ShowWindow(mainWindow, SW_SHOWMAXIMIZED);
        ASSERT_TRUE(AppGlue::InitApplication([]() -> App* { return new NoteApp; }, &pw::ui::ProgramRecord()));
        app = AppGlue::Application().Get();
    }
    void TearDown() override
    {
        // Document windows hold the application as their picker: they go first.
        while (app->NumWindows() > 0)
            app->RemoveWindow(app->GetWindow(app->NumWindows()));
        pw::ui::testing::ResetProgress();
        pw::foundation::SetAlertsEnabled(false);
    }

    // A window on the document, saved to `name` first when one is given.
    SmartPtr<DocWindow> Open(const SmartPtr<Smart>& document, const std::string& name = "")
    {
        SmartPtr<DocWindow> window(new DocWindow(new SimpleReference(document), nullptr, nullptr, nullptr, false));
        app->AddWindow(window.Get(), true);
        if (!name.empty()) {
            driver::ScriptFileDialog("c:\\" + name);
            window->Save(DocWindow::kSave);
        }
        return window;
    }
    // An edit, reported by the document's view.
    static void Edit(DocWindow& window, Note& note, int32_t value)
    {
        note.value = value;
        window.GetContent()->GetChildren().Item(1)->NotifyChanged();
    }

    App* app { nullptr };
    HWND mainWindow { nullptr };
};

TEST_F(DocWindowTest, SavesSaveAsAndCopiesEachWriteTheirFileAndNoOther)
{
    SmartPtr<Note> note(new Note(0));
    SmartPtr<DocWindow> window = Open(note.Get());
    struct Step {
        int32_t mode;
        const char* chosen; // the file dialog's answer, none when it must not be asked
        std::vector<int32_t> files; // first.nte, copy.nte, second.nte afterwards
        bool modified;
    } steps[] = {
        { DocWindow::kSave, "first.nte", { 1, -1, -1 }, false }, // a new document asks for its file
        { DocWindow::kSave, nullptr, { 2, -1, -1 }, false }, // then saves there without asking
        { DocWindow::kSaveCopy, "copy.nte", { 2, 3, -1 }, true }, // a copy keeps window, file and state
        { DocWindow::kSave, nullptr, { 4, 3, -1 }, false },
        { DocWindow::kSaveAs, "second.nte", { 4, 3, 5 }, false },
        { DocWindow::kSave, nullptr, { 4, 3, 6 }, false },
    };
    for (const Step& step : steps) {
        Edit(*window.Get(), *note.Get(), note->value + 1);
        SCOPED_TRACE(note->value);
        if (step.chosen)
            driver::ScriptFileDialog(std::string("c:\\") + step.chosen);
        window->Save(step.mode);
        EXPECT_EQ(driver::ScriptedFileDialogsLeft(), 0u);
        EXPECT_EQ(std::vector<int32_t>({ Stored("first.nte"), Stored("copy.nte"), Stored("second.nte") }), step.files);
        EXPECT_EQ(window->IsModified(), step.modified);
    }
}

// The File menu's Save, Save As and Close reach the front document window; with none open, or a
// plain window in front, they are disabled.
TEST_F(DocWindowTest, TheFileMenuSavesAndClosesTheFrontDocumentWindow)
{
    auto enabled = [&](uint32_t command) {
        driver::ChooseMenuCommand(mainWindow, 0);
        return (app->FindMenuItem(command)->GetState() & MenuItem::kDisabled) == 0;
    };
    EXPECT_FALSE(enabled(kSaveCommand));
    EXPECT_FALSE(enabled(kCloseCommand));

    SmartPtr<Note> note(new Note(7));
    SmartPtr<DocWindow> window = Open(note.Get());
    driver::ScriptFileDialog("c:\\menu.nte");
    EXPECT_TRUE(driver::ChooseMenuCommand(mainWindow, kSaveCommand));
    EXPECT_EQ(Stored("menu.nte"), 7);
    Edit(*window.Get(), *note.Get(), 8);
    EXPECT_TRUE(driver::ChooseMenuCommand(mainWindow, kSaveCommand));
    EXPECT_EQ(Stored("menu.nte"), 8);
    driver::ScriptFileDialog("c:\\other.nte");
    EXPECT_TRUE(driver::ChooseMenuCommand(mainWindow, kSaveAsCommand));
    EXPECT_EQ(Stored("other.nte"), 8);
    EXPECT_EQ(driver::ScriptedFileDialogsLeft(), 0u);

    SaveSignal save(DocWindow::kSave);
    SmartPtr<Window> plain(new Window(new String("plain"), 0, false, false, Point(100, 100)));
    struct Case {
        const char* name;
        Smart* watcher;
        int32_t status;
    } cases[] = {
        { "no watcher", nullptr, GenericSignal::disabled },
        { "the application", static_cast<Smart*>(app), GenericSignal::disabled },
        { "a plain window", plain.Get(), GenericSignal::disabled },
        { "a document window", window.Get(), GenericSignal::enabled },
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        EXPECT_EQ(save.GetSignalStatus(test.watcher), test.status);
    }
    app->AddWindow(plain, true);
    EXPECT_FALSE(enabled(kSaveCommand));
    EXPECT_TRUE(enabled(kCloseCommand));
    app->RemoveWindow(plain);

    app->ActivateWindow(window.Get());
    EXPECT_TRUE(driver::ChooseMenuCommand(mainWindow, kCloseCommand));
    EXPECT_EQ(app->NumWindows(), 0u);
    EXPECT_FALSE(enabled(kCloseCommand));
}

TEST_F(DocWindowTest, TheCloseQuestionSavesAsAnswered)
{
    struct Case {
        const char* name;
        bool modified, withFile;
        int32_t mode;
        int answer; // to "Save ... before closing?"; 0: not asked
        const char* chosen; // the file dialog's answer ("" cancels), none when not asked
        bool mayClose, saved;
    } cases[] = {
        { "unmodified", false, true, 2, 0, nullptr, true, false },
        { "No", true, true, 2, IDNO, nullptr, true, false },
        { "Cancel", true, true, 2, IDCANCEL, nullptr, false, false },
        { "Yes", true, true, 2, IDYES, nullptr, true, true },
        { "Yes, then no file chosen", true, false, 2, IDYES, "", false, false },
        { "Yes, a new file", true, false, 2, IDYES, "c:\\new.nte", true, true },
        { "mode 0 saves unasked", true, true, 0, 0, nullptr, true, true },
        { "mode 1 neither asks nor saves", true, true, 1, 0, nullptr, true, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(driver::DriveRoot() + "/new.nte");
        SmartPtr<Note> note(new Note(1));
        SmartPtr<DocWindow> window = Open(note.Get(), c.withFile ? "old.nte" : "");
        if (c.modified)
            Edit(*window.Get(), *note.Get(), 7);
        size_t questions = driver::AlertLog().size();
        if (c.answer)
            driver::ScriptMessageBoxes({ c.answer });
        if (c.chosen && *c.chosen)
            driver::ScriptFileDialog(c.chosen);
        else if (c.chosen)
            driver::ScriptFileDialogCancel();
        EXPECT_EQ(window->CanClose(c.mode), c.mayClose);
        ASSERT_EQ(driver::AlertLog().size(), questions + (c.answer ? 1 : 0));
        if (c.answer) {
            EXPECT_EQ(driver::AlertLog().back().text, "Save  \"Diary\"  before closing?");
        }
        EXPECT_EQ(Stored(c.withFile ? "old.nte" : "new.nte"), c.saved ? 7 : (c.withFile ? 1 : -1));
        EXPECT_EQ(window->IsModified(), c.modified && !c.saved);
    }
}

// A cancelled file question or a full disk loses nothing: the window keeps its file and its
// modified state, the file its last save, and no temporary file is left beside it.
TEST_F(DocWindowTest, CancelledAndFailedSavesKeepTheOldFileAndItsLink)
{
    SmartPtr<Note> note(new Note(1));
    SmartPtr<DocWindow> window = Open(note.Get(), "letter.nte");
    SmartPtr<Scribe> old = window->GetScribe();
    Edit(*window.Get(), *note.Get(), 2);
    driver::ScriptFileDialogCancel();
    window->Save(DocWindow::kSaveAs);
    for (uint64_t space : { 0, 60 }) {
        driver::SetDiskSpaceLeft(space);
        EXPECT_EQ(Thrown([&] { window->Save(DocWindow::kSave); }), "error 112");
        driver::ScriptFileDialog("c:\\other.nte");
        EXPECT_EQ(Thrown([&] { window->Save(DocWindow::kSaveAs); }), "error 112");
        EXPECT_EQ(window->GetScribe(), old);
        EXPECT_TRUE(window->IsModified());
        EXPECT_EQ(Stored("letter.nte"), 1);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(driver::DriveRoot()), {}), 3);
    }
    driver::SetDiskSpaceLeft(std::nullopt);
    window->Save(DocWindow::kSave);
    EXPECT_EQ(Stored("letter.nte"), 2);
}

TEST_F(DocWindowTest, OnlyPersistentDocumentsWithAPickerAreSaved)
{
    SmartPtr<DocWindow> list = Open(new EditableList(SmartList<String>(), String("list"), nullptr));
    EXPECT_EQ(Thrown([&] { list->Save(DocWindow::kSaveAs); }), "Not a storable window!");
    DocWindow::SetDefaultFormatPicker(nullptr);
    EXPECT_EQ(Thrown([&] { Open(new Note(1))->Save(DocWindow::kSave); }), "No format for saving");
    EXPECT_TRUE(driver::FileDialogLog().empty());
}

// Opening replaces the document and its file; a damaged file is reported and changes nothing.
TEST_F(DocWindowTest, OpeningAFileReplacesTheDocumentUnlessTheFileIsDamaged)
{
    Open(new Note(42), "stored.nte");
    std::ofstream(driver::DriveRoot() + "/damaged.nte") << "OBJS and nothing more";
    SmartPtr<Note> note(new Note(1));
    SmartPtr<DocWindow> window = Open(note.Get());
    Edit(*window.Get(), *note.Get(), 2);
    window->OpenFile(FileReference::FileReferenceFromPath("c:\\stored.nte"));
    Note* opened = SmartCast<Note>(window->GetData()->Get());
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->value, 42);
    EXPECT_FALSE(window->IsModified());
    Edit(*window.Get(), *opened, 43);
    driver::ScriptMessageBoxes({ IDOK });
    window->OpenFile(FileReference::FileReferenceFromPath("c:\\damaged.nte"));
    EXPECT_EQ(window->GetData()->Get(), static_cast<Smart*>(opened));
    window->Save(DocWindow::kSave);
    EXPECT_EQ(Stored("stored.nte"), 43);
}

} // namespace
