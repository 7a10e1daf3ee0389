#include "ui/DocWindow.h"

#include "foundation/Alert.h"
#include "foundation/ArchiveScope.h"
#include "foundation/Editable.h"
#include "foundation/File.h"
#include "foundation/FileReference.h"
#include "foundation/FileType.h"
#include "foundation/FourCharCode.h"
#include "foundation/GenericArray.h"
#include "foundation/MessageException.h"
#include "foundation/ObjectFile.h"
#include "foundation/Persistent.h"
#include "foundation/PersistentVersion.h"
#include "foundation/SimpleReference.h"
#include "foundation/SystemErrorException.h"
#include "foundation/TypeIndex.h"
#include "platform/comdlg/ComdlgTesting.h"
#include "platform/kernel/KernelTesting.h"
#include "platform/testing/TestDriver.h"
#include "ui/App.h"
#include "ui/AppGlue.h"
#include "ui/AppMain.h"
#include "ui/OsApp.h"
#include "ui/ProgressRange.h"
#include "ui/Task.h"
#include "ui/WindowFrame.h"

#include "FrameworkFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace driver = pw::platform::testing;
using pw::foundation::FourCharCode;

// A stored, editable document: a number and some text, shown in one view.
class Note : public Persistent, public Editable, public SmartImplementation {
    PW_CLASS_INFO(Note)
    PW_COPY_SLOTS

public:
    static const PersistentVersion version;

    Note(const char* name, int32_t value, std::string text = "")
        : name(name)
        , value(value)
        , text(std::move(text))
    {
    }
    explicit Note(ArchiveScope& scope)
        : name("stored")
        , value(scope.GetStream().ReadLong())
    {
        uint32_t length = static_cast<uint32_t>(scope.GetStream().ReadLong());
        scope.GetStream().CheckAvailable(length);
        text.resize(length);
        scope.GetStream().Read(text.data(), length);
    }

    void Write(Archive& archive) override
    {
        ArchiveScope scope(archive, version);
        scope.GetStream().WriteLong(value).WriteLong(static_cast<int32_t>(text.size()));
        scope.GetStream().Write(text.data(), static_cast<uint32_t>(text.size()));
    }
    const PersistentVersion& GetPersistentVersion() const override { return version; }

    View* MakeView(View& container) override;
    String& GetName() override { return name; }

    String name;
    int32_t value;
    std::string text;
};

// An editable thing that cannot be stored.
class Sketch : public Editable, public SmartImplementation {
    PW_CLASS_INFO(Sketch)
    PW_COPY_SLOTS

public:
    View* MakeView(View&) override { return nullptr; }
    String& GetName() override { return name; }

    String name { "Sketch" };
};

namespace {

Persistent* ReadNote(Archive& archive)
{
    ArchiveScope scope(archive, Note::version);
    return new Note(scope);
}

// The note's view: the test reports edits through it as its editing views would.
class NoteView : public View {
public:
    explicit NoteView(View& container)
        : View(&container, container.GetBounds(), kSizeStretch, true, false)
    {
    }
};

} // namespace

// A task that does nothing, to stand for an edit.
class NoteTask : public Task, public SmartImplementation {
    PW_CLASS_INFO(NoteTask)
    PW_COPY_SLOTS

public:
    void Do() override { }
    void Undo() override { }
    void Redo() override { }
};

PW_DEFINE_CLASS(Sketch, nullptr, nullptr, Editable, SmartImplementation)
PW_DEFINE_NO_COPY_SLOTS(Sketch)
PW_DEFINE_CLASS(NoteTask, nullptr, nullptr, Task, SmartImplementation)
PW_DEFINE_NO_COPY_SLOTS(NoteTask)
PW_DEFINE_CLASS(Note, nullptr, nullptr, Persistent, Editable, SmartImplementation)
PW_DEFINE_COPY_SLOTS(Note)
constinit const PersistentVersion Note::version { &Note::classInfo, Fixed(1), Fixed(1), &ReadNote };

View* Note::MakeView(View& container)
{
    SmartPtr<View> view(new NoteView(container));
    container.AddChild(view);
    return view.Get();
}

namespace {

const FileType noteType("Note File", FourCharCode("NOTE"), FourCharCode("nte "));

SmartPtr<TypeIndex> NoteTypes()
{
    SmartPtr<TypeIndex> types(new TypeIndex(noteType, Fixed(1), "Notes"));
    types->AddClass(Note::version);
    types->AddClass(GenericArray::version);
    return types;
}

class NoteApp : public App {
public:
    NoteApp()
        : App(SmartPtr<MenuBar>(), FileCreatorType("Notes", FourCharCode("NOTZ")), NoteTypes())
    {
    }
    void NewDocument() override { }
    // The framework's application offers no file for a copy; this one asks as for "save as".
    SmartPtr<FileReference> ChooseFile(int32_t mode) override { return App::ChooseFile(mode == 4 ? 2 : mode); }
};

App* MakeNoteApp()
{
    return new NoteApp;
}

std::string HostBytes(const std::string& name)
{
    std::ifstream file(driver::DriveRoot() + "/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

std::vector<std::string> FolderItems()
{
    std::vector<std::string> names;
    for (const auto& item : std::filesystem::directory_iterator(driver::DriveRoot()))
        names.push_back(item.path().filename().string());
    return names;
}

// What a save or close threw: the message, "cancel" or "error <code>".
template <typename Action>
std::string Thrown(Action action)
{
    try {
        action();
    } catch (Exception* exception) {
        if (auto* message = dynamic_cast<MessageException*>(exception))
            return message->GetText().substr(0, message->GetText().find('\r'));
        if (auto* system = dynamic_cast<SystemErrorException*>(exception))
            return "error " + std::to_string(system->GetErrorCode());
        return "other exception";
    }
    return "nothing";
}

class DocWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        uitest::InstallPalette();
        // Taken now, as at start-up: the file dialogs move the current folder.
        FileReference::StartupFolder();
        Alert::EnableAlerts();
        HWND main = pw::ui::CreateMainWindow(nullptr);
        ASSERT_NE(main, nullptr);
        ShowWindow(main, SW_SHOWMAXIMIZED);
        ASSERT_TRUE(AppGlue::InitApplication(&MakeNoteApp, &pw::ui::ProgramRecord()));
        app = AppGlue::Application().Get();
    }

    void TearDown() override
    {
        // Open document windows hold the application as their picker: they go first.
        while (app->NumWindows() > 0)
            app->RemoveWindow(app->GetWindow(app->NumWindows()));
        DocWindow::SetDefaultFormatPicker(SmartPtr<FormatPicker>());
        pw::ui::testing::ResetProgress();
        pw::foundation::SetAlertsEnabled(false);
    }

    // A window on the note, handed to the application as the front window.
    SmartPtr<DocWindow> Open(const SmartPtr<Smart>& document, const SmartPtr<Scribe>& scribe = SmartPtr<Scribe>(),
        const SmartPtr<DocWindow>& owner = SmartPtr<DocWindow>())
    {
        SmartPtr<DocWindow> window(new DocWindow(new SimpleReference(document), SmartPtr<String>(), owner, scribe, false));
        app->AddWindow(window.Get(), true);
        return window;
    }

    static std::string Title(Window& window)
    {
        char title[256];
        window.GetFrame()->GetTitle()->GetCString(title, sizeof title);
        return title;
    }

    // An edit reported by the document's view.
    static void Edit(DocWindow& window, Note& note, int32_t value)
    {
        note.value = value;
        window.GetContent()->GetChildren().Item(1)->NotifyChanged();
    }

    // The note stored in a file of the drive's root folder, or none.
    static SmartPtr<Note> Stored(const std::string& name)
    {
        if (!std::filesystem::exists(driver::DriveRoot() + "/" + name))
            return SmartPtr<Note>();
        SmartPtr<FileReference> reference = FileReference::FileReferenceFromPath(("c:\\" + name).c_str());
        SmartPtr<ObjectFile> file(new ObjectFile(NoteTypes(), new File(*reference.Get(), File::kRead)));
        SmartPtr<Smart> object = file->Read();
        return SmartPtr<Note>(SmartCast<Note>(object.Get()));
    }

    static int32_t StoredValue(const std::string& name)
    {
        SmartPtr<Note> note = Stored(name);
        return note.Valid() ? note->value : -1;
    }

    // A window whose note was saved once to `path`, its scribe on that file.
    SmartPtr<DocWindow> SavedWindow(const SmartPtr<Note>& note, const char* path)
    {
        SmartPtr<DocWindow> window = Open(note.Get());
        driver::ScriptFileDialog(path);
        window->Save(DocWindow::kSave);
        return window;
    }

    App* app { nullptr };
};

TEST_F(DocWindowTest, ANewDocumentIsSavedSavedAgainCopiedAndSavedAsWithoutLosingAnyFile)
{
    SmartPtr<Note> note(new Note("Shopping", 1));
    SmartPtr<DocWindow> window = Open(note.Get());
    EXPECT_EQ(Title(*window.Get()), "Shopping");
    EXPECT_EQ(window->GetContent()->GetChildren().NumItems(), 1u);
    EXPECT_FALSE(window->IsModified());

    Edit(*window.Get(), *note.Get(), 2);
    EXPECT_TRUE(window->IsModified());
    driver::ScriptFileDialog("c:\\first.nte");
    window->Save(DocWindow::kSave);
    EXPECT_FALSE(window->IsModified());
    SmartPtr<Scribe> first = window->GetScribe();
    ASSERT_TRUE(first.Valid());
    EXPECT_EQ(StoredValue("first.nte"), 2);
    ASSERT_EQ(driver::FileDialogLog().size(), 1u);

    // With a file, a save asks nothing.
    Edit(*window.Get(), *note.Get(), 3);
    window->Save(DocWindow::kSave);
    EXPECT_EQ(driver::FileDialogLog().size(), 1u);
    EXPECT_EQ(StoredValue("first.nte"), 3);

    // A copy leaves the window on its file and modified.
    Edit(*window.Get(), *note.Get(), 4);
    driver::ScriptFileDialog("c:\\copy.nte");
    window->Save(DocWindow::kSaveCopy);
    EXPECT_EQ(StoredValue("copy.nte"), 4);
    EXPECT_EQ(StoredValue("first.nte"), 3);
    EXPECT_EQ(window->GetScribe(), first);
    EXPECT_TRUE(window->IsModified());

    // Save as moves the window to the new file; the old one keeps what it had.
    driver::ScriptFileDialog("c:\\second.nte");
    window->Save(DocWindow::kSaveAs);
    EXPECT_EQ(StoredValue("second.nte"), 4);
    EXPECT_EQ(StoredValue("first.nte"), 3);
    EXPECT_NE(window->GetScribe(), first);
    EXPECT_FALSE(window->IsModified());
    Edit(*window.Get(), *note.Get(), 5);
    window->Save(DocWindow::kSave);
    EXPECT_EQ(StoredValue("second.nte"), 5);
    EXPECT_EQ(StoredValue("first.nte"), 3);
    EXPECT_EQ(driver::FileDialogLog().size(), 3u);
}

TEST_F(DocWindowTest, TheCloseQuestionSavesAsAnswered)
{
    struct Case {
        const char* name;
        bool modified;
        bool withFile;
        int32_t mode;
        int boxAnswer; // 0: no question expected
        bool dialogCancelled;
        bool mayClose;
        bool saved;
    } cases[] = {
        { "unmodified: no question", false, false, 2, 0, false, true, false },
        { "No closes without saving", true, true, 2, IDNO, false, true, false },
        { "Cancel keeps the window", true, true, 2, IDCANCEL, false, false, false },
        { "Yes saves to the file", true, true, 2, IDYES, false, true, true },
        { "Yes on a new document, then a cancelled file question", true, false, 2, IDYES, true, false, false },
        { "Yes on a new document saves to the chosen file", true, false, 2, IDYES, false, true, true },
        { "mode 0 saves without asking", true, true, 0, 0, false, true, true },
        { "mode 1 neither asks nor saves", true, true, 1, 0, false, true, false },
        { "mode 0 on a new document whose file question is cancelled", true, false, 0, 0, true, false, false },
    };
    int count = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string name = "close" + std::to_string(++count) + ".nte";
        std::string path = "c:\\" + name;
        SmartPtr<Note> note(new Note("Diary", 1));
        SmartPtr<DocWindow> window = c.withFile ? SavedWindow(note, path.c_str()) : Open(note.Get());
        if (c.modified)
            Edit(*window.Get(), *note.Get(), 7);
        size_t questions = driver::AlertLog().size();
        if (c.boxAnswer)
            driver::ScriptMessageBoxes({ c.boxAnswer });
        if (!c.withFile && (c.boxAnswer == IDYES || c.mode == 0)) {
            if (c.dialogCancelled)
                driver::ScriptFileDialogCancel();
            else
                driver::ScriptFileDialog(path);
        }
        EXPECT_EQ(window->CanClose(c.mode), c.mayClose);
        ASSERT_EQ(driver::AlertLog().size(), questions + (c.boxAnswer ? 1 : 0));
        if (c.boxAnswer) {
            EXPECT_EQ(driver::AlertLog().back().text, "Save  \"Diary\"  before closing?");
        }
        EXPECT_EQ(driver::ScriptedFileDialogsLeft(), 0u);
        EXPECT_EQ(StoredValue(name), c.saved ? 7 : (c.withFile ? 1 : -1));
        EXPECT_EQ(window->IsModified(), c.modified && !c.saved);
        window->Close();
    }
}

TEST_F(DocWindowTest, ACancelledOrFailedSaveAsKeepsTheOldFileLink)
{
    SmartPtr<Note> note(new Note("Letter", 1));
    SmartPtr<DocWindow> window = SavedWindow(note, "c:\\letter.nte");
    SmartPtr<Scribe> old = window->GetScribe();
    Edit(*window.Get(), *note.Get(), 2);

    driver::ScriptFileDialogCancel();
    window->Save(DocWindow::kSaveAs);
    EXPECT_EQ(window->GetScribe(), old);
    EXPECT_TRUE(window->IsModified());

    note->text = std::string(20000, 'x');
    driver::ScriptFileDialog("c:\\big.nte");
    driver::SetDiskSpaceLeft(5000);
    EXPECT_EQ(Thrown([&] { window->Save(DocWindow::kSaveAs); }), "error 112");
    EXPECT_EQ(window->GetScribe(), old);
    EXPECT_TRUE(window->IsModified());

    // The window still saves to its own file once there is room.
    driver::SetDiskSpaceLeft(std::nullopt);
    window->Save(DocWindow::kSave);
    EXPECT_FALSE(window->IsModified());
    SmartPtr<Note> stored = Stored("letter.nte");
    ASSERT_TRUE(stored.Valid());
    EXPECT_EQ(stored->value, 2);
    EXPECT_EQ(stored->text.size(), 20000u);
}

TEST_F(DocWindowTest, ASaveThatRunsOutOfDiskKeepsThePreviousFile)
{
    SmartPtr<Note> note(new Note("Essay", 1, "short"));
    SmartPtr<DocWindow> window = SavedWindow(note, "c:\\essay.nte");
    std::string before = HostBytes("essay.nte");
    ASSERT_FALSE(before.empty());
    std::vector<std::string> items = FolderItems();

    Edit(*window.Get(), *note.Get(), 2);
    note->text = std::string(50000, 'y');
    for (uint64_t space : { 0, 100, 20000, 49000 }) {
        SCOPED_TRACE(space);
        driver::SetDiskSpaceLeft(space);
        EXPECT_EQ(Thrown([&] { window->Save(DocWindow::kSave); }), "error 112");
        EXPECT_EQ(HostBytes("essay.nte"), before);
        EXPECT_TRUE(window->IsModified());
        EXPECT_EQ(FolderItems(), items);
    }
    driver::SetDiskSpaceLeft(std::nullopt);
    window->Save(DocWindow::kSave);
    EXPECT_EQ(Stored("essay.nte")->text.size(), 50000u);
}

TEST_F(DocWindowTest, DocumentsThatCannotBeSavedSayWhy)
{
    // Not persistent: nothing is asked or written, the window stays modified.
    SmartPtr<Sketch> sketch(new Sketch);
    SmartPtr<DocWindow> window = Open(sketch.Get());
    EXPECT_EQ(Title(*window.Get()), "Sketch");
    window->WindowChanged(nullptr);
    EXPECT_EQ(Thrown([&] { window->Save(DocWindow::kSaveAs); }), "Not a storable window!");
    EXPECT_TRUE(window->IsModified());
    EXPECT_TRUE(driver::FileDialogLog().empty());

    // No picker: a save that must choose a file has no format.
    DocWindow::SetDefaultFormatPicker(SmartPtr<FormatPicker>());
    SmartPtr<Note> note(new Note("Orphan", 1));
    SmartPtr<DocWindow> orphan = Open(note.Get());
    EXPECT_EQ(Thrown([&] { orphan->Save(DocWindow::kSave); }), "No format for saving");
    EXPECT_EQ(Thrown([&] { orphan->Save(DocWindow::kSaveCopy); }), "No format for saving");
    // A window made earlier keeps the picker it was made with.
    EXPECT_TRUE(window->GetFormatPicker().Valid());
    orphan->Close();
    window->Close();
}

TEST_F(DocWindowTest, ADocumentThatIsNoEditableIsUntitledAndHasNoViews)
{
    SmartPtr<FileReference> plain = FileReference::FileReferenceFromPath("c:\\plain.txt");
    SmartPtr<DocWindow> window = Open(plain.Get());
    EXPECT_EQ(Title(*window.Get()), "Untitled");
    EXPECT_EQ(window->GetContent()->GetChildren().NumItems(), 0u);
    SmartPtr<String> given(new String("given"));
    SmartPtr<Note> note(new Note("Named", 1));
    SmartPtr<DocWindow> named(new DocWindow(new SimpleReference(note.Get()), given, SmartPtr<DocWindow>(), SmartPtr<Scribe>(), false));
    char text[64];
    given->GetCString(text, sizeof text);
    EXPECT_STREQ(text, "Named");
    window->Close();
    named->Close();
}

TEST_F(DocWindowTest, OpeningAFileReplacesTheDocumentAndAnUnreadableFileChangesNothing)
{
    SmartPtr<Note> stored(new Note("Stored", 42));
    SavedWindow(stored, "c:\\stored.nte")->Close();

    SmartPtr<Note> note(new Note("Current", 1));
    SmartPtr<DocWindow> window = Open(note.Get());
    Edit(*window.Get(), *note.Get(), 2);
    window->SetUndoTask(new NoteTask);
    window->OpenFile(FileReference::FileReferenceFromPath("c:\\stored.nte"));
    auto* opened = SmartCast<Note>(window->GetData()->Get());
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->value, 42);
    EXPECT_FALSE(window->IsModified());
    EXPECT_FALSE(window->HasUndoTask());
    EXPECT_EQ(window->GetContent()->GetChildren().NumItems(), 1u);
    EXPECT_TRUE(window->GetScribe().Valid());

    // A damaged file: the reader reports it, and the window keeps its document and its file.
    std::ofstream(driver::DriveRoot() + "/damaged.nte", std::ios::binary) << "OBJS and nothing more";
    SmartPtr<Scribe> scribe = window->GetScribe();
    Edit(*window.Get(), *opened, 43);
    driver::ScriptMessageBoxes({ IDOK });
    window->OpenFile(FileReference::FileReferenceFromPath("c:\\damaged.nte"));
    EXPECT_EQ(window->GetData()->Get(), opened);
    EXPECT_EQ(window->GetScribe(), scribe);
    EXPECT_TRUE(window->IsModified());
    window->Save(DocWindow::kSave);
    EXPECT_EQ(StoredValue("stored.nte"), 43);
}

TEST_F(DocWindowTest, AnOwnedWindowPassesChangesAndSavesToItsOwner)
{
    SmartPtr<Note> book(new Note("Book", 1));
    SmartPtr<DocWindow> owner = SavedWindow(book, "c:\\book.nte");
    SmartPtr<Note> chapter(new Note("Chapter", 10));
    SmartPtr<DocWindow> part = Open(chapter.Get(), SmartPtr<Scribe>(), owner);

    Edit(*part.Get(), *chapter.Get(), 11);
    EXPECT_TRUE(part->IsModified());
    EXPECT_TRUE(owner->IsModified());
    // Tasks finished in the part become its own undo step.
    part->GetContent()->NotifyTask(new NoteTask);
    EXPECT_TRUE(part->HasUndoTask());
    EXPECT_FALSE(owner->HasUndoTask());

    book->value = 2;
    part->Save(DocWindow::kSave);
    EXPECT_EQ(StoredValue("book.nte"), 2);
    EXPECT_FALSE(owner->IsModified());
    // The part has no file of its own: it closes without a question.
    EXPECT_TRUE(part->CanClose(2));
    EXPECT_TRUE(driver::AlertLog().empty());
}

// The application opens files into document windows; a copy is opened read-only, so the window
// keeps no file and its first save asks for one.
TEST_F(DocWindowTest, TheApplicationOpensDocumentsAndCopiesIntoDocumentWindows)
{
    SavedWindow(new Note("Read only", 5), "c:\\ro.nte")->Close();
    SmartPtr<FileReference> reference = FileReference::FileReferenceFromPath("c:\\ro.nte");
    for (bool asCopy : { false, true }) {
        SCOPED_TRACE(asCopy);
        app->OpenDocument(reference, false, asCopy);
        auto* window = dynamic_cast<DocWindow*>(app->FrontWindow().Get());
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(SmartCast<Note>(window->GetData()->Get())->value, 5);
        EXPECT_EQ(window->GetScribe().Valid(), !asCopy);
        EXPECT_EQ(window->GetFormatPicker().Get(), static_cast<FormatPicker*>(app));
    }
    auto* copy = static_cast<DocWindow*>(app->FrontWindow().Get());
    driver::ScriptFileDialog("c:\\copy.nte");
    copy->Save(DocWindow::kSave);
    EXPECT_EQ(StoredValue("copy.nte"), 5);
    EXPECT_EQ(driver::ScriptedFileDialogsLeft(), 0u);
}

} // namespace
