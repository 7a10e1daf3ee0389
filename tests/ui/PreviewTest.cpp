#include "ui/Preview.h"

#include "foundation/Alert.h"
#include "foundation/Exception.h"
#include "foundation/FileReference.h"
#include "foundation/Time.h"
#include "graphics/BitMap.h"
#include "graphics/ColorTable.h"

#include "graphics/BitMapFixture.h"
#include "platform/kernel/KernelTesting.h"
#include "platform/testing/TestDriver.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Folders under c:\plume with documents in them, thumbnails as small bitmaps, and a record of the
// progress ranges the preview cache and the object files open.
class Previews : public bitmaps::WithStandardPalette {
protected:
    void SetUp() override
    {
        bitmaps::WithStandardPalette::SetUp();
        Alert::EnableAlerts();
        pw::foundation::ForgetFolderPreviews();
        // Ranges are recorded, not opened.
        auto& services = pw::foundation::GetFileReferenceServices();
        savedOpen = services.openProgress;
        services.openProgress = [](int32_t, const char* title) -> void* {
            Titles().push_back(title);
            return nullptr;
        };
        Titles().clear();
    }

    void TearDown() override
    {
        pw::foundation::GetFileReferenceServices().openProgress = savedOpen;
        pw::foundation::ForgetFolderPreviews();
        pw::foundation::ForgetStartupFolder();
        pw::foundation::SetAlertsEnabled(false);
        EXPECT_TRUE(pw::platform::testing::AlertLog().empty());
    }

    static std::vector<std::string>& Titles()
    {
        static std::vector<std::string> titles;
        return titles;
    }
    using OpenProgress = void* (*)(int32_t, const char*);

    static fs::path Host(const std::string& relative) { return fs::path(pw::platform::testing::DriveRoot()) / "plume" / relative; }

    // A folder c:\plume\<name> holding documents of a few bytes each.
    static SmartPtr<FileReference> Folder(const std::string& name, std::initializer_list<const char*> documents = {})
    {
        fs::create_directories(Host(name));
        for (const char* document : documents)
            std::ofstream(Host(name) / document) << "document " << document;
        return FileReference::FileReferenceFromPath(("c:\\plume\\" + name).c_str());
    }

    static SmartPtr<FileReference> Document(const std::string& folder, const std::string& name)
    {
        return FileReference::FileReferenceFromPath(("c:\\plume\\" + folder + "\\" + name).c_str());
    }

    // A 3 by 2 thumbnail whose pixels are `first`, first + 1, ...
    static SmartPtr<Image> Thumbnail(uint32_t first)
    {
        SmartPtr<BitMap> bitmap = new BitMap(3, 2, ColorTable::Setup(8), Color(0), false);
        PixelIterator cursor(*bitmap.Get(), bitmap->GetBounds(), true);
        for (uint32_t value = first; cursor.More(); cursor.Next())
            cursor.SetPixel(value++);
        return SmartPtr<Image>(bitmap.Get());
    }

    static uint32_t FirstPixel(const SmartPtr<Image>& image)
    {
        auto* bitmap = SmartCast<BitMap>(image.Get());
        return bitmap ? bitmap->GetPixelValue(0, 0) : 0xFFFFFFFF;
    }

    static bool HasPreviewFile(const std::string& folder) { return fs::exists(Host(folder) / "_preview.pre"); }

    static void SetWriteTime(const std::string& relative, int secondsAgo)
    {
        fs::last_write_time(Host(relative), fs::file_time_type::clock::now() - std::chrono::seconds(secondsAgo));
    }

private:
    OpenProgress savedOpen { nullptr };
};

} // namespace

TEST_F(Previews, SavedSetReadsBackItemForItem)
{
    SmartPtr<FileReference> folder = Folder("art", { "cat.mvi", "dog.mvi", "empty.mvi" });
    SetWriteTime("art/cat.mvi", 3600);
    SmartPtr<Preview> preview = new Preview(*folder.Get());
    preview->SetPreview(*Document("art", "dog.mvi").Get(), Thumbnail(20));
    preview->SetPreview(*Document("art", "cat.mvi").Get(), Thumbnail(40));
    preview->SetPreview(*Document("art", "empty.mvi").Get(), SmartPtr<Image>());
    ASSERT_TRUE(Preview::SaveToFolder(preview));

    // Copied into another folder, the set belongs to the folder it now lies in.
    Folder("copy");
    fs::copy_file(Host("art/_preview.pre"), Host("copy/_preview.pre"));
    for (const char* where : { "art", "copy" }) {
        SCOPED_TRACE(where);
        SmartPtr<Preview> read = Preview::LoadFromFolder(*Folder(where).Get());
        ASSERT_TRUE(read.Valid());
        EXPECT_TRUE(*read->GetFolder().Get() == *Folder(where).Get());
        ASSERT_EQ(read->NumItems(), 3u);
        const char* names[] = { "dog.mvi", "cat.mvi", "empty.mvi" };
        for (uint32_t index = 0; index < 3; ++index) {
            SmartPtr<PreviewItem> item = read->FindItem(*Document(where, names[index]).Get());
            ASSERT_TRUE(item.Valid()) << names[index];
            EXPECT_EQ(*item->GetModifiedTime().Get(), *preview->FindItem(*Document("art", names[index]).Get())->GetModifiedTime().Get());
        }
        EXPECT_EQ(FirstPixel(read->GetPreview(*Document(where, "dog.mvi").Get())), 20u);
        EXPECT_EQ(FirstPixel(read->GetPreview(*Document(where, "cat.mvi").Get())), 40u);
        EXPECT_FALSE(read->GetPreview(*Document(where, "empty.mvi").Get()).Valid());
        EXPECT_TRUE(read->HasPreview(*Document("art", "cat.mvi").Get(), true));
        // Names are compared byte for byte.
        EXPECT_FALSE(read->GetPreview(*Document(where, "Dog.mvi").Get()).Valid());
    }
    // A second thumbnail for a file replaces the first.
    preview->SetPreview(*Document("art", "dog.mvi").Get(), Thumbnail(90));
    EXPECT_EQ(preview->NumItems(), 3u);
    EXPECT_EQ(FirstPixel(preview->GetPreview(*Document("art", "dog.mvi").Get())), 90u);
}

TEST_F(Previews, UnreadableFilesLoadAsNothingWithoutAMessage)
{
    struct Case {
        const char* name;
        std::string bytes;
    } cases[] = {
        { "text", "these are not the previews you are looking for" },
        { "header cut", std::string("OBJS\x02\x00\x00\x02\x00", 9) },
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        Folder("junk");
        std::ofstream(Host("junk/_preview.pre"), std::ios::binary) << test.bytes;
        EXPECT_FALSE(Preview::LoadFromFolder(*Folder("junk").Get()).Valid());
        EXPECT_FALSE(CurrentException().Valid());
    }

    // Browsing such a folder starts from an empty set, and the next save replaces the file.
    Folder("junk", { "cat.mvi" });
    std::ofstream(Host("junk/_preview.pre"), std::ios::binary) << "junk";
    EXPECT_FALSE(Document("junk", "cat.mvi")->GetPreview().Valid());
    Document("junk", "cat.mvi")->SetPreview(SmartPtr<Smart>(Thumbnail(5).Get()));
    FileReference::SavePreviews();
    SmartPtr<Preview> read = Preview::LoadFromFolder(*Folder("junk").Get());
    ASSERT_TRUE(read.Valid());
    EXPECT_EQ(read->NumItems(), 1u);
}

TEST_F(Previews, AFolderSwitchWritesOnlyAfterAChange)
{
    Folder("a", { "one.mvi" });
    Folder("b", { "two.mvi" });
    SmartPtr<FileReference> one = Document("a", "one.mvi");
    SmartPtr<FileReference> two = Document("b", "two.mvi");

    // Browsing a folder without preview file makes none.
    EXPECT_FALSE(one->GetPreview().Valid());
    EXPECT_FALSE(HasPreviewFile("a"));
    one->SetPreview(SmartPtr<Smart>(Thumbnail(3).Get()));
    EXPECT_FALSE(HasPreviewFile("a"));
    EXPECT_FALSE(two->GetPreview().Valid());
    EXPECT_TRUE(HasPreviewFile("a"));
    EXPECT_EQ(Titles().front(), "Doing Previews");

    // Back and forth without a change writes nothing.
    fs::remove(Host("a/_preview.pre"));
    Titles().clear();
    EXPECT_FALSE(one->GetPreview().Valid());
    EXPECT_FALSE(two->GetPreview().Valid());
    EXPECT_FALSE(one->GetPreview().Valid());
    EXPECT_FALSE(HasPreviewFile("a"));
    EXPECT_FALSE(HasPreviewFile("b"));
    EXPECT_TRUE(Titles().empty());

    // What a switch saved comes back when the folder is browsed again.
    one->SetPreview(SmartPtr<Smart>(Thumbnail(7).Get()));
    two->GetPreview();
    SmartPtr<Smart> back = one->GetPreview();
    EXPECT_EQ(FirstPixel(SmartPtr<Image>(SmartCast<Image>(back.Get()))), 7u);
}

// The preview file cannot be made in the folder (here a folder of that name stands in its way, as
// a read-only folder refuses it): browsing and storing thumbnails there still work.
TEST_F(Previews, AFolderThatRefusesThePreviewFileIsBrowsedAsAnyOther)
{
    Folder("locked", { "cat.mvi" });
    fs::create_directories(Host("locked/_preview.pre"));
    Folder("open", { "dog.mvi" });
    SmartPtr<FileReference> cat = Document("locked", "cat.mvi");
    SmartPtr<FileReference> dog = Document("open", "dog.mvi");

    EXPECT_FALSE(cat->GetPreview().Valid());
    cat->SetPreview(SmartPtr<Smart>(Thumbnail(3).Get()));
    EXPECT_TRUE(cat->GetPreview().Valid());
    EXPECT_FALSE(dog->GetPreview().Valid());
    EXPECT_FALSE(Preview::SaveToFolder(SmartPtr<Preview>(new Preview(*Folder("locked").Get()))));
    EXPECT_FALSE(CurrentException().Valid());
    // The skipped save settled the change: nothing is written at quit.
    FileReference::SavePreviews();
    EXPECT_FALSE(HasPreviewFile("open"));
}

// A save that fails for another reason is reported to the one who asked, and tried again later.
TEST_F(Previews, AFailedSaveIsTriedAgain)
{
    // A folder whose path leaves no room for the preview file's name.
    std::string deep = std::string(245, 'd');
    Folder(deep, { "a" });
    Folder("b", { "two.mvi" });
    SmartPtr<FileReference> inDeep = Document(deep, "a");
    SmartPtr<FileReference> two = Document("b", "two.mvi");

    EXPECT_FALSE(inDeep->GetPreview().Valid());
    inDeep->SetPreview(SmartPtr<Smart>(Thumbnail(3).Get()));
    for (int attempt = 1; attempt <= 2; ++attempt) {
        SCOPED_TRACE(attempt);
        Titles().clear();
        EXPECT_THROW(two->GetPreview(), Exception*);
        CurrentException() = nullptr;
        EXPECT_EQ(Titles(), std::vector<std::string> { "Doing Previews" });
    }
    // The set it could not save is still the one held.
    EXPECT_TRUE(inDeep->GetPreview().Valid());
}
