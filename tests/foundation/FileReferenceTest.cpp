#include "foundation/ArchiveScope.h"
#include "foundation/File.h"
#include "foundation/FileDialogFilter.h"
#include "foundation/FileReference.h"
#include "foundation/FileType.h"
#include "foundation/GenericArray.h"
#include "foundation/ObjectFile.h"
#include "foundation/Time.h"
#include "foundation/TypeIndex.h"

#include "AlertFixture.h"
#include "ErrorCode.h"
#include "Failure.h"
#include "StoredBytes.h"

#include "platform/comdlg/ComdlgTesting.h"
#include "platform/kernel/KernelTestSupport.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

using pw::foundation::FourCharCode;
using pw::foundation::TextOf;
using pw::platform::testing::AlertLog;
using pw::platform::testing::HostExists;
using pw::platform::testing::HostPath;
using pw::platform::testing::MakeHostFile;
using pw::platform::testing::MakeHostFolder;
using pw::platform::testing::ReadHostFile;

template <size_t N>
std::string Bytes(const char (&text)[N])
{
    return std::string(text, N - 1);
}

const FileType kShowType("Quennel Format", FourCharCode("MVI "), FourCharCode("mvi "));
const FileType kJpegType("JPEG Picture", FourCharCode("JPEG"), FourCharCode("jpg "));
const FileType kPictType("PICT Picture", FourCharCode("PICT"), 0);

class FileReferenceTest : public AlertsShown {
protected:
    void SetUp() override
    {
        AlertsShown::SetUp();
        pw::foundation::ForgetStartupFolder();
        pw::foundation::ForgetFolderPreviews();
        pw::foundation::GetFileReferenceServices() = {};
    }
    void TearDown() override
    {
        pw::foundation::GetFileReferenceServices() = {};
        pw::foundation::ForgetFolderPreviews();
        AlertsShown::TearDown();
    }
};

TEST_F(FileReferenceTest, PathsParseIntoPartsKeepingCase)
{
    struct Case {
        const char* path;
        char drive;
        const char* folder;
        const char* name;
        uint32_t extension;
        const char* fullName;
    };
    const std::vector<Case> cases = {
        { "D:\\Work\\Pics\\Cat.JPG", 'D', "D:\\Work\\Pics", "Cat", FourCharCode("jpg "), "Cat.JPG" },
        { "d:\\notes\\readme", 'd', "d:\\notes", "readme", 0, "readme" },
        { "d:\\web\\page.html", 'd', "d:\\web", "page", 0, "page.html" },
        { "c:\\a.b\\file", 'c', "c:\\a.b", "file", 0, "file" },
        { "c:\\x.\\ab", 'c', "c:\\x.", "ab", 0, "ab" },
        { "note.txt", 0, "", "note", FourCharCode("txt "), "note.txt" },
        { "c:\\", 'c', "c:", "", 0, "" },
        { "c:\\Projects\\Our Thirty-Two Character Name!", 'c', "c:\\Projects", "Our Thirty-Two Character Name!", 0,
            "Our Thirty-Two Character Name!" },
        { "c:\\Projects\\ABCDEFGHIJKLMNOPQRSTUVWXYZ012345.mvi", 'c', "c:\\Projects", "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345",
            FourCharCode("mvi "), "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345.mvi" },
        { "c:\\dir\\.hidden", 'c', "c:\\dir", "", 0, ".hidden" },
        { "x:y\\z.abc", 'x', "x:y", "z", FourCharCode("abc "), "z.abc" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        FileReference reference(c.path);
        const PathSpec& parts = reference.GetParts();
        EXPECT_EQ(parts.drive, c.drive);
        EXPECT_EQ(TextOf(parts.folder), c.folder);
        EXPECT_EQ(TextOf(parts.name), c.name);
        EXPECT_EQ(parts.extension, c.extension);
        EXPECT_EQ(TextOf(reference.Name()), c.fullName);
        EXPECT_STREQ(reference.Path(), c.path);
    }
}

TEST_F(FileReferenceTest, NamePartsSplitAtTheLastDot)
{
    struct Case {
        const char* path;
        const char* name;
        uint32_t code;
    };
    for (const Case& c : std::vector<Case> { { "c:\\p\\Cat.JPG", "Cat", FourCharCode("jpg ") },
             { "c:\\p\\page.html", "page", FourCharCode("htm ") }, { "c:\\p\\My.Site.Name", "My.Site", FourCharCode("nam ") },
             { "c:\\p\\readme", "readme", 0 }, { "c:\\p\\odd.", "odd", 0 } }) {
        SCOPED_TRACE(c.path);
        String name;
        EXPECT_EQ(FileReference(c.path).GetNameParts(name), c.code);
        EXPECT_EQ(TextOf(name), c.name);
    }
    String name("x");
    EXPECT_EQ(FileReference(static_cast<const char*>(nullptr)).GetNameParts(name), 0u);
    EXPECT_EQ(TextOf(name), "");
}

TEST_F(FileReferenceTest, PathsCompareWithoutRegardToCase)
{
    FileReference upper("D:\\A.TXT"), lower("d:\\a.txt"), other("d:\\b.txt");
    FileReference empty(static_cast<const char*>(nullptr)), alsoEmpty(static_cast<const char*>(nullptr));
    EXPECT_TRUE(upper == lower && empty == alsoEmpty);
    EXPECT_FALSE(upper == other || empty == upper || upper == empty);
}

TEST_F(FileReferenceTest, PathsThatDoNotFitAreRefusedNotCut)
{
    std::string fits = "c:\\" + std::string(256, 'a');
    EXPECT_EQ(FileReference(fits.c_str()).Path(), fits);
    std::string tooLong = fits + "b";
    EXPECT_EQ(ErrorCode([&] { FileReference reference(tooLong.c_str()); }), static_cast<uint32_t>(ERROR_FILENAME_EXCED_RANGE));

    MakeHostFolder(std::string(250, 'f'));
    FileReference folder(("c:\\" + std::string(250, 'f')).c_str());
    EXPECT_EQ(ErrorCode([&] { FileReference::FileReferenceCreate(kShowType, FileCreatorType::Unknown(), folder, String("twelve_chars"), true); }),
        static_cast<uint32_t>(ERROR_FILENAME_EXCED_RANGE));
    EXPECT_FALSE(folder.ContainsItem(String("twelve_chars"), kShowType));
}

TEST_F(FileReferenceTest, ChildrenOfFolders)
{
    MakeHostFolder("Projects");
    MakeHostFile("Projects/Notes.txt", "x");
    FileReference projects("c:\\Projects");

    SmartPtr<FileReference> made = FileReference::FileReferenceInFolder(projects, String("My Site"), true);
    EXPECT_STREQ(made->Path(), "c:\\Projects\\My Site");
    EXPECT_TRUE(HostExists("Projects/My Site"));
    // An existing folder is fine; a file in the way, or a missing parent, is reported.
    EXPECT_EQ(ErrorCode([&] { FileReference::FileReferenceInFolder(projects, String("my site"), true); }), 0u);
    EXPECT_EQ(ErrorCode([&] { FileReference::FileReferenceInFolder(projects, String("Notes.txt"), true); }),
        static_cast<uint32_t>(ERROR_ALREADY_EXISTS));
    FileReference missing("c:\\Missing");
    EXPECT_EQ(ErrorCode([&] { FileReference::FileReferenceInFolder(missing, String("Child"), true); }),
        static_cast<uint32_t>(ERROR_PATH_NOT_FOUND));

    EXPECT_EQ(ErrorCode([&] { FileReference::FileReferenceInFolder(projects, String("Absent"), false); }),
        static_cast<uint32_t>(ERROR_FILE_NOT_FOUND));
    EXPECT_STREQ(FileReference::FileReferenceInFolder(projects, String("NOTES.TXT"), false)->Path(), "c:\\Projects\\NOTES.TXT");
    FileReference notes("c:\\Projects\\Notes.txt");
    EXPECT_EQ(Failure([&] { FileReference::FileReferenceInFolder(notes, String("x"), false); }), "parent.IsFolder()");

    SmartPtr<FileReference> show = FileReference::FileReferenceCreate(kShowType, FileCreatorType::Unknown(), projects, String("Page"), true);
    EXPECT_STREQ(show->Path(), "c:\\Projects\\Page.mvi");
    EXPECT_EQ(ReadHostFile("Projects/Page.mvi"), "");
    EXPECT_TRUE(show->IsEmpty());
    EXPECT_TRUE(projects.IsEmpty()) << "a folder holds no bytes of its own";
    EXPECT_TRUE(show->IsOfType(kShowType));
    EXPECT_FALSE(show->IsOfType(kJpegType));
    EXPECT_EQ(ErrorCode([&] { FileReference::FileReferenceCreate(kShowType, FileCreatorType::Unknown(), projects, String("Other"), false); }),
        static_cast<uint32_t>(ERROR_FILE_NOT_FOUND));
    SmartPtr<FileReference> pict = FileReference::FileReferenceCreate(kPictType, FileCreatorType::Unknown(), projects, String("Raw"), true);
    EXPECT_STREQ(pict->Path(), "c:\\Projects\\Raw");

    EXPECT_TRUE(projects.ContainsItem(String("page"), kShowType));
    EXPECT_FALSE(projects.ContainsItem(String("Page"), kJpegType));
    EXPECT_FALSE(notes.ContainsItem(String("x"), kPictType));
    projects.Delete(String("Page.mvi"));
    EXPECT_FALSE(HostExists("Projects/Page.mvi"));
    EXPECT_EQ(ErrorCode([&] { projects.Delete(String("Page.mvi")); }), static_cast<uint32_t>(ERROR_FILE_NOT_FOUND));
    notes.Delete(String("anything"));
    EXPECT_TRUE(HostExists("Projects/Notes.txt"));

    EXPECT_STREQ(notes.Parent()->Path(), "c:\\Projects");
    EXPECT_STREQ(projects.Parent()->Path(), "c:\\");
    EXPECT_FALSE(FileReference(static_cast<const char*>(nullptr)).Parent()->HasPath());
}

TEST_F(FileReferenceTest, UniqueNamesNeverNameAnExistingItem)
{
    MakeHostFolder("docs");
    MakeHostFile("docs/show.mvi");
    MakeHostFile("docs/show1.mvi");
    MakeHostFile("docs/Other.jpg");
    FileReference docs("c:\\docs");
    String name("Show");
    docs.UniqueName(name, kShowType);
    EXPECT_EQ(TextOf(name), "Show2");
    name = String("Other");
    docs.UniqueName(name, kShowType);
    EXPECT_EQ(TextOf(name), "Other");

    // On the older platform names are cut to eight characters to make room for the number.
    pw::foundation::GetFileReferenceServices().isFullWin32 = [] { return true; };
    EXPECT_EQ(ProjectNameMaxLength(), 8);
    MakeHostFile("docs/Overlong.mvi");
    for (int n = 1; n <= 9; ++n)
        MakeHostFile("docs/Overlon" + std::to_string(n) + ".mvi");
    name = String("Overlong");
    docs.UniqueName(name, kShowType);
    EXPECT_EQ(TextOf(name), "Overlo10");
    for (int n = 10; n <= 99; ++n)
        MakeHostFile("docs/Overlo" + std::to_string(n) + ".mvi");
    name = String("Overlong");
    EXPECT_EQ(ErrorCode([&] { docs.UniqueName(name, kShowType); }), static_cast<uint32_t>(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(TextOf(name), "Overlong");

    FileReference file("c:\\docs\\show.mvi");
    name = String("show");
    file.UniqueName(name, kShowType);
    EXPECT_EQ(TextOf(name), "show");
}

TEST_F(FileReferenceTest, ContentsListItemsOfTheTypes)
{
    MakeHostFile("media/b.jpg");
    MakeHostFile("media/A.JPG");
    MakeHostFile("media/c.mvi");
    MakeHostFile("media/.hidden.jpg");
    MakeHostFile("media/sub/d.jpg");
    MakeHostFile("media/sub/e.txt");
    MakeHostFile("media/pics.jpg/inside.jpg");
    FileReference media("c:\\media");
    auto paths = [](const SmartList<FileReference>& list) {
        std::vector<std::string> result;
        for (uint32_t i = 1; i <= list.NumItems(); ++i)
            result.push_back(list.Item(i)->Path());
        return result;
    };
    SmartList<FileType> none;
    EXPECT_EQ(paths(media.Contents(none, false)),
        (std::vector<std::string> { "c:\\media\\A.JPG", "c:\\media\\b.jpg", "c:\\media\\c.mvi", "c:\\media\\pics.jpg", "c:\\media\\sub" }));
    EXPECT_EQ(paths(media.Contents(none, true)),
        (std::vector<std::string> { "c:\\media\\A.JPG", "c:\\media\\b.jpg", "c:\\media\\c.mvi", "c:\\media\\pics.jpg\\inside.jpg",
            "c:\\media\\sub\\d.jpg", "c:\\media\\sub\\e.txt" }));
    SmartList<FileType> types;
    types.Append(SmartPtr<FileType>(new FileType(kShowType)));
    types.Append(SmartPtr<FileType>(new FileType(kPictType)));
    types.Append(SmartPtr<FileType>(new FileType(kJpegType)));
    // Only folders whose own names match a type are entered.
    EXPECT_EQ(paths(media.Contents(types, true)),
        (std::vector<std::string> { "c:\\media\\c.mvi", "c:\\media\\A.JPG", "c:\\media\\b.jpg", "c:\\media\\pics.jpg\\inside.jpg" }));
    EXPECT_EQ(paths(FileReference("c:\\nowhere").Contents(none, false)), std::vector<std::string> {});
    EXPECT_EQ(GetLastError(), 0u);
}

TEST_F(FileReferenceTest, ModificationTimeIsTheStoredUniversalTime)
{
    MakeHostFile("dated.txt", "x");
    // 5 December 1996 13:14:15 UTC.
    auto stamp = std::chrono::sys_days(std::chrono::year(1996) / 12 / 5) + std::chrono::hours(13) + std::chrono::minutes(14)
        + std::chrono::seconds(15);
    std::filesystem::last_write_time(HostPath("dated.txt"), std::filesystem::file_time_type::clock::from_sys(stamp));
    SmartPtr<Time> time = FileReference("c:\\dated.txt").GetModificationTime();
    EXPECT_EQ(TextOf(time->DateString()), "12/5/1996");
    EXPECT_EQ(TextOf(time->TimeString()), "13:14:15");
    EXPECT_EQ(ErrorCode([] { FileReference("c:\\").GetModificationTime(); }), uint32_t(ERROR_ACCESS_DENIED));
    EXPECT_EQ(ErrorCode([] { FileReference("c:\\gone.txt").GetModificationTime(); }), uint32_t(ERROR_FILE_NOT_FOUND));
}

TEST_F(FileReferenceTest, StartupFolderIsCapturedOnce)
{
    MakeHostFolder("Start");
    MakeHostFolder("Elsewhere");
    FileReference start("c:\\Start");
    FileReference::SetAsCurrentDirectory(start);
    EXPECT_STREQ(FileReference::StartupFolder().Path(), "c:\\Start");
    FileReference elsewhere("c:\\Elsewhere");
    FileReference::SetAsCurrentDirectory(elsewhere);
    EXPECT_STREQ(FileReference::StartupFolder().Path(), "c:\\Start");
    EXPECT_STREQ(FileReference::CurrentFolder().Path(), "c:\\Elsewhere");
    FileReference file("c:\\Start\\none.txt");
    EXPECT_EQ(ErrorCode([&] { FileReference::SetAsCurrentDirectory(file); }), static_cast<uint32_t>(ERROR_FILE_NOT_FOUND));
}

// The operations this platform leaves unfinished warn once per "Not implemented." and answer
// nothing; their preconditions (a folder, an open file) still hold.
TEST_F(FileReferenceTest, UnfinishedOperationsWarnAndAnswerNothing)
{
    MakeHostFolder("Site");
    MakeHostFile("Site/page.htm", "<p>");
    struct Case {
        const char* name;
        std::function<std::string()> run;
        std::string failure;
        size_t warnings;
        std::string answer;
    };
    const std::vector<Case> cases = {
        { "a folder's information", [] { return FileReference("c:\\Site").FolderInfo().Valid() ? "made" : "null"; }, "",
            1, "null" },
        { "a file's information", [] { return FileReference("c:\\Site\\page.htm").FolderInfo().Valid() ? "made" : "null"; },
            "IsFolder()", 0, "" },
        { "a reference to an open file",
            [] {
                File file(FileReference("c:\\Site\\page.htm"), File::kRead);
                return std::string(FileReference(file).Path());
            },
            "", 1, "" },
        { "a reference to a file not open",
            [] {
                File file(FileReference("c:\\Site"), File::kRead);
                return std::string(FileReference(file).Path());
            },
            "system error 5", 0, "" },
        { "the system folder", [] { return std::string(FileReference::SystemFolder().Path()); }, "", 2, "" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        pw::platform::testing::ScriptMessageBoxes({ IDOK, IDOK });
        size_t before = AlertLog().size();
        std::string answer;
        EXPECT_EQ(Failure([&] { answer = c.run(); }), c.failure);
        EXPECT_EQ(answer, c.answer);
        ASSERT_EQ(AlertLog().size() - before, c.warnings);
        for (size_t n = before; n < AlertLog().size(); ++n)
            EXPECT_EQ(AlertLog()[n].text.substr(0, 17), "Not implemented.\r");
    }
}

// Stored references keep only the item's name and find it again beside the document.
class StoredReferences : public FileReferenceTest {
protected:
    std::string Store(FileReference& reference, const std::string& document)
    {
        MakeHostFile(document);
        std::string windowsPath = "c:\\" + document;
        for (char& c : windowsPath)
            c = c == '/' ? '\\' : c;
        File file(FileReference(windowsPath.c_str()), File::kRead | File::kWrite);
        SmartPtr<FlatArchive> writer(new FlatArchive(file, { &FileReference::version }, true));
        writer->WriteObject(&reference);
        return windowsPath;
    }
    SmartPtr<FileReference> Load(const std::string& windowsPath)
    {
        File file(FileReference(windowsPath.c_str()), File::kRead);
        SmartPtr<FlatArchive> reader(new FlatArchive(file, { &FileReference::version }, false));
        SmartPtr<Persistent> read(reader->ReadObject());
        return SmartPtr<FileReference>(SmartCast<FileReference>(read.Get()));
    }
};

TEST_F(StoredReferences, FoundBesideTheDocumentAfterAMove)
{
    MakeHostFile("site/Pic.JPG", "jpeg");
    FileReference picture("c:\\site\\Pic.JPG");
    Store(picture, "site/page.mvi");
    std::string stored = ReadHostFile("site/page.mvi");
    EXPECT_NE(stored.find("Pic.JPG"), std::string::npos);
    EXPECT_EQ(stored.find("site"), std::string::npos);

    MakeHostFile("moved/page.mvi", stored);
    MakeHostFile("moved/pic.jpg", "jpeg");
    SmartPtr<FileReference> found = Load("c:\\moved\\page.mvi");
    ASSERT_TRUE(found.Valid());
    EXPECT_STREQ(found->Path(), "c:\\moved\\Pic.JPG");
    EXPECT_TRUE(found->Exists());
    EXPECT_TRUE(AlertLog().empty());
}

// A reference whose item is gone asks on first use (not when read, nor when stored again) to have
// it located; a refusal fails that use (opening a File on it too), and the next use asks again.
TEST_F(StoredReferences, MissingItemsAreLocatedOnFirstUse)
{
    using namespace pw::platform::testing;
    MakeHostFile("site/gone.jpg");
    FileReference picture("c:\\site\\gone.jpg");
    Store(picture, "site/page.mvi");
    MakeHostFile("moved/page.mvi", ReadHostFile("site/page.mvi"));
    MakeHostFile("found/Gone Again.jpg");
    SmartPtr<FileReference> lost = Load("c:\\moved\\page.mvi");
    ASSERT_TRUE(lost.Valid());
    Store(*lost.Get(), "moved/again.mvi");
    EXPECT_EQ(ReadHostFile("moved/again.mvi"), ReadHostFile("site/page.mvi"));
    EXPECT_TRUE(AlertLog().empty());

    ScriptMessageBoxes({ IDCANCEL, IDCANCEL, IDOK });
    EXPECT_EQ(Failure([&] { lost->Name(); }), "other exception");
    EXPECT_EQ(Failure([&] { File opened(*lost.Get(), File::kRead); }), "other exception");
    ScriptFileDialog("c:\\found\\Gone Again.jpg");
    EXPECT_EQ(TextOf(lost->Name()), "Gone Again.jpg");
    EXPECT_STREQ(lost->Path(), "c:\\found\\Gone Again.jpg");
    EXPECT_EQ(FileDialogLog().at(0).request.filters, (std::vector<pw::platform::FilterPair> { { "All Files (*.*)", "*.*" } }));
    // Located once: later uses ask nothing.
    EXPECT_TRUE(lost->IsOfType(kJpegType));
    const std::string question = "The file I'm reading refers to the file or folder called \"gone\", which I can't find.  Could you locate it ?";
    EXPECT_EQ(Shown(), (std::vector<std::string> { question, question, question }));
}

// An item that went after its reference was made is located when the user asks for it (a page
// linked to, a page of the history); an item still there asks nothing.
TEST_F(StoredReferences, ItemsGoneSinceAreLocatedWhenAskedFor)
{
    using namespace pw::platform::testing;
    MakeHostFile("site/here.mvi");
    MakeHostFile("site/gone.mvi");
    MakeHostFile("found/again.mvi");
    FileReference here("c:\\site\\here.mvi");
    FileReference gone("c:\\site\\gone.mvi");
    std::filesystem::remove(HostPath("site/gone.mvi"));

    here.LocateIfGone();
    EXPECT_TRUE(AlertLog().empty());
    ScriptMessageBoxes({ IDCANCEL, IDOK });
    EXPECT_EQ(Failure([&] { gone.LocateIfGone(); }), "other exception");
    EXPECT_STREQ(gone.Path(), "c:\\site\\gone.mvi") << "a refusal keeps the path";
    ScriptFileDialog("c:\\found\\again.mvi");
    gone.LocateIfGone();
    EXPECT_STREQ(gone.Path(), "c:\\found\\again.mvi");
    const std::string question = "The file I'm reading refers to the file or folder called \"gone\", which I can't find.  Could you locate it ?";
    EXPECT_EQ(Shown(), (std::vector<std::string> { question, question }));
}

// A stored reference is its name in a string part; anything else could point outside the folder.
TEST_F(StoredReferences, OnlyPlainNamesAreLookedFor)
{
    MakeHostFile("secret.txt", "s");
    MakeHostFolder("site");
    for (const char* name : { "..\\secret.txt", "c:\\secret.txt", "", "..", "a/b" }) {
        SCOPED_TRACE(name);
        MemoryStream stream;
        {
            SmartPtr<FlatArchive> writer(new FlatArchive(stream, { &FileReference::version }, true));
            writer->WriteLong(1);
            ArchiveScope scope(*writer.Get(), FileReference::version);
            String stored(name);
            scope.Put(stored);
        }
        SmartPtr<FileReference> reference = LoadOne<FileReference>(BytesOf(stream), { &FileReference::version });
        ASSERT_TRUE(reference.Valid());
        EXPECT_FALSE(reference->HasPath());
    }
}

// A document read as an object file (through its guarded stream) finds its references beside
// it, whichever folder is current.
TEST_F(StoredReferences, AnObjectFileFindsItsReferencesBesideIt)
{
    FileType type("Reference File", FourCharCode("REFS"), 0);
    SmartPtr<TypeIndex> index(new TypeIndex(type, Fixed(1), "References"));
    for (const PersistentVersion* stored : { &String::version, &GenericArray::version, &FileReference::version })
        index->AddClass(*stored);
    MakeHostFile("site/Second.mvi", "page");
    MakeHostFile("site/Home.mvi");
    SmartPtr<FileReference> home = new FileReference("c:\\site\\Home.mvi");
    SmartPtr<ObjectFile>(new ObjectFile(index, new File(*home.Get(), File::kRead | File::kWrite)))
        ->Write(new FileReference("c:\\site\\Second.mvi"));
    MakeHostFolder("Start");
    FileReference start("c:\\Start");
    FileReference::SetAsCurrentDirectory(start);
    EXPECT_STREQ(FileReference::StartupFolder().Path(), "c:\\Start");
    SmartPtr<Smart> read = SmartPtr<ObjectFile>(new ObjectFile(index, new File(*home.Get(), File::kRead)))->Read();
    auto* found = SmartCast<FileReference>(read.Get());
    ASSERT_NE(found, nullptr);
    EXPECT_STREQ(found->Path(), "c:\\site\\Second.mvi");
    EXPECT_EQ(TextOf(found->Name()), "Second.mvi");
    EXPECT_TRUE(AlertLog().empty());
}

TEST_F(StoredReferences, ReadFromMemoryFindsItemsInTheStartupFolder)
{
    MakeHostFile("Start/Data/1005", "x");
    FileReference start("c:\\Start");
    FileReference::SetAsCurrentDirectory(start);
    FileReference item("c:\\anywhere\\Data");
    const StoredClasses classes = { &FileReference::version };
    EXPECT_STREQ(LoadOne<FileReference>(::Store({ &item }, classes), classes)->Path(), "c:\\Start\\Data");
}

// A folder's preview set as the window floor keeps it: thumbnails by path.
class FakePreviewSet : public SmartImplementation {
public:
    explicit FakePreviewSet(std::string folder)
        : folder(std::move(folder))
    {
    }
    std::string folder;
    std::map<std::string, SmartPtr<Smart>> images;
};

std::vector<std::string>& PreviewLog()
{
    static std::vector<std::string> log;
    return log;
}

void UseFakePreviews()
{
    PreviewLog().clear();
    auto& services = pw::foundation::GetFileReferenceServices();
    services.loadFolderPreview = [](FileReference& folder) {
        PreviewLog().push_back(std::string("load ") + folder.Path());
        return SmartPtr<Smart>();
    };
    services.newFolderPreview = [](FileReference& folder) { return SmartPtr<Smart>(new FakePreviewSet(folder.Path())); };
    services.saveFolderPreview = [](const SmartPtr<Smart>& set) {
        PreviewLog().push_back("save " + dynamic_cast<FakePreviewSet*>(set.Get())->folder);
    };
    services.previewFolder = [](Smart& set) {
        return SmartPtr<FileReference>(new FileReference(dynamic_cast<FakePreviewSet&>(set).folder.c_str()));
    };
    services.previewImage = [](Smart& set, FileReference& item) { return dynamic_cast<FakePreviewSet&>(set).images[item.Path()]; };
    services.setPreviewImage = [](Smart& set, FileReference& item, const SmartPtr<Smart>& image) {
        dynamic_cast<FakePreviewSet&>(set).images[item.Path()] = image;
    };
    services.openProgress = [](int32_t steps, const char* title) -> void* {
        PreviewLog().push_back("progress " + std::to_string(steps) + " " + title);
        return &PreviewLog();
    };
    services.advanceProgress = [](void*, int32_t steps) { PreviewLog().push_back("advance " + std::to_string(steps)); };
    services.closeProgress = [](void*) { PreviewLog().push_back("close"); };
}

// One folder's set is kept; leaving a folder whose thumbnails changed saves them under a progress
// display, and quitting saves the last folder's changes.
TEST_F(FileReferenceTest, PreviewSetsAreCachedPerFolder)
{
    UseFakePreviews();
    MakeHostFile("a/one.mvi", "data");
    MakeHostFile("a/empty.mvi");
    MakeHostFile("b/two.mvi", "data");
    FileReference one("c:\\a\\one.mvi");
    FileReference empty("c:\\a\\empty.mvi");
    FileReference two("c:\\b\\two.mvi");
    SmartPtr<Smart> picture(new String("thumbnail"));
    one.SetPreview(picture);
    empty.SetPreview(picture);
    EXPECT_EQ(one.GetPreview(), picture);
    EXPECT_FALSE(empty.GetPreview().Valid()) << "an empty file shows no thumbnail";
    EXPECT_EQ(PreviewLog(), (std::vector<std::string> { "load c:\\a" }));

    EXPECT_FALSE(two.GetPreview().Valid());
    EXPECT_EQ(PreviewLog(), (std::vector<std::string> { "load c:\\a", "progress 2 Doing Previews", "advance 1", "save c:\\a",
                                "advance 1", "load c:\\b", "close" }));
    PreviewLog().clear();
    FileReference::SavePreviews();
    EXPECT_TRUE(PreviewLog().empty()) << "nothing changed in the last folder";
    two.SetPreview(picture);
    FileReference::SavePreviews();
    EXPECT_EQ(PreviewLog(), (std::vector<std::string> { "save c:\\b" }));
}

TEST_F(FileReferenceTest, DialogFiltersByteForByte)
{
    auto list = [](std::vector<const FileType*> types) {
        SmartList<FileType> result;
        for (const FileType* type : types)
            result.Append(SmartPtr<FileType>(new FileType(*type)));
        return result;
    };
    uint32_t code = 0;
    EXPECT_EQ(pw::foundation::OpenDialogFilter(list({ &kJpegType }), code), Bytes("JPEG Picture (*.jpg)\0*.jpg\0\0"));
    EXPECT_EQ(code, FourCharCode("jpg "));
    EXPECT_EQ(pw::foundation::OpenDialogFilter(list({}), code), Bytes("All Files (*.*)\0*.*\0\0"));
    EXPECT_EQ(code, pw::foundation::kAnyExtension);
    EXPECT_EQ(pw::foundation::OpenDialogFilter(list({ &kPictType, &kShowType, &kJpegType }), code),
        Bytes("Quennel Format (*.mvi)\0*.mvi\0JPEG Picture (*.jpg)\0*.jpg\0\0"));
    EXPECT_EQ(code, FourCharCode("mvi "));
    EXPECT_EQ(pw::foundation::OpenDialogFilter(list({ &kPictType }), code), Bytes("\0"));
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(pw::foundation::SaveDialogFilter(kPictType, code), Bytes("PICT Picture (*.*)\0*.*\0\0"));
    EXPECT_EQ(code, pw::foundation::kAnyExtension);
    const FileType aiff("AIFF Sound", FourCharCode("AIFF"), FourCharCode("IFF "));
    EXPECT_EQ(pw::foundation::SaveDialogFilter(aiff, code), Bytes("AIFF Sound (*.IFF)\0*.IFF\0\0"));
}

TEST_F(FileReferenceTest, OpenDialogOffersTheTypesAndKeepsTheCurrentFolder)
{
    using namespace pw::platform::testing;
    MakeHostFile("pics/Cat.JPG");
    ScriptFileDialog("c:\\pics\\Cat.JPG");
    SmartPtr<FileReference> chosen = FileReference::FileReferenceFromDialog(kJpegType);
    EXPECT_STREQ(chosen->Path(), "c:\\pics\\Cat.JPG");
    EXPECT_STREQ(FileReference::CurrentFolder().Path(), "c:\\");
    ASSERT_EQ(FileDialogLog().size(), 1u);
    const auto& request = FileDialogLog()[0].request;
    EXPECT_FALSE(request.save);
    EXPECT_EQ(request.filters, (std::vector<pw::platform::FilterPair> { { "JPEG Picture (*.jpg)", "*.jpg" } }));
    EXPECT_EQ(request.filterIndex, 1u);
    EXPECT_EQ(request.flags, static_cast<DWORD>(OFN_FILEMUSTEXIST));
    EXPECT_EQ(request.defaultExtension, "jpg");
    EXPECT_EQ(request.initialFile, "");

    ScriptFileDialogCancel();
    EXPECT_EQ(Failure([] { FileReference::FileReferenceFromDialogList(SmartList<FileType>()); }), "other exception");
    EXPECT_STREQ(FileReference::CurrentFolder().Path(), "c:\\");
}

// The save dialog lets a new name be chosen, asks before replacing, and makes the chosen file.
TEST_F(FileReferenceTest, SaveDialogCreatesTheChosenFile)
{
    using namespace pw::platform::testing;
    MakeHostFolder("site");
    ScriptFileDialog("c:\\site\\New Page");
    SmartPtr<FileReference> chosen = FileReference::FileReferenceFromSaveDialog(kShowType, FileCreatorType::Unknown());
    EXPECT_STREQ(chosen->Path(), "c:\\site\\New Page.mvi");
    EXPECT_TRUE(HostExists("site/New Page.mvi"));
    const auto& request = FileDialogLog().at(0).request;
    EXPECT_TRUE(request.save);
    EXPECT_EQ(request.initialFile, "index");
    EXPECT_EQ(request.flags, static_cast<DWORD>(OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT));
    EXPECT_EQ(request.filters, (std::vector<pw::platform::FilterPair> { { "Quennel Format (*.mvi)", "*.mvi" } }));

    MakeHostFile("site/index.mvi", "keep");
    ScriptFileDialog("c:\\site\\index.mvi");
    FileReference::FileReferenceFromSaveDialog(kShowType, FileCreatorType::Unknown());
    EXPECT_EQ(ReadHostFile("site/index.mvi"), "keep");

    ScriptFileDialogCancel();
    EXPECT_EQ(Failure([] { FileReference::FileReferenceFromSaveDialog(kPictType, FileCreatorType::Unknown()); }), "other exception");
}

// The name offered is "index" unless the folder the dialog opens in has a page of that name: then
// the first numbered one it has not. Other types and other folders do not count.
TEST_F(FileReferenceTest, SaveDialogOffersANameNoPageOfTheFolderHas)
{
    using namespace pw::platform::testing;
    const struct {
        std::vector<const char*> items;
        const char* offered;
    } cases[] = {
        { {}, "index" },
        { { "index.jpg", "other/index.mvi" }, "index" },
        { { "index.mvi" }, "index1" },
        { { "INDEX.MVI", "index1.mvi", "index3.mvi" }, "index2" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.offered);
        std::filesystem::remove_all(HostPath("site"));
        MakeHostFolder("site/other");
        for (const char* item : c.items)
            MakeHostFile(std::string("site/") + item);
        FileReference site("c:\\site");
        FileReference::SetAsCurrentDirectory(site);
        ScriptFileDialogCancel();
        Failure([] { FileReference::FileReferenceFromSaveDialog(kShowType, FileCreatorType::Unknown()); });
        EXPECT_EQ(FileDialogLog().back().request.initialFile, c.offered);
    }
}

} // namespace
