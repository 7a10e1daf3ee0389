#include "app/PageScribes.h"

#include "app/TallowResources.h"
#include "engine/CMovieGroup.h"
#include "engine/CShow.h"
#include "engine/ShowFileType.h"
#include "export/TallowScribe.h"
#include "foundation/File.h"
#include "foundation/ObjectFile.h"
#include "ui/ProgressFixture.h"

#include "platform/kernel/KernelTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

using pw::platform::testing::HostExists;
using pw::platform::testing::MakeHostFile;
using pw::platform::testing::MakeHostFolder;
using pw::platform::testing::ReadHostFile;

namespace {

using pw::app::PageScribes;

class PageScribesTest : public uitest::ProgressTest {
protected:
    void SetUp() override
    {
        uitest::ProgressTest::SetUp();
        pw::app::testing::ForgetScribeFolder();
        MakeHostFolder("Proj");
        MakeHostFolder("Other");
    }

    // Object files over the page documents, as the application's base class makes them.
    PageScribes Scribes()
    {
        return PageScribes(
            [this](const SmartPtr<FileReference>& file, uint8_t mode) -> SmartPtr<Scribe> {
                ++baseScribes;
                return new ObjectFile(GetGenericTypeIndex(), new File(*file.Get(), mode));
            },
            [this] { return frontScribe; }, ShowFileType, FileCreatorType("Test", 0x54657374));
    }

    static SmartPtr<FileReference> Document(const char* relative)
    {
        MakeHostFile(relative);
        std::string path = std::string("c:\\") + relative;
        std::replace(path.begin(), path.end(), '/', '\\');
        return new FileReference(path.c_str());
    }

    int baseScribes { 0 };
    SmartPtr<Scribe> frontScribe;
};

TEST_F(PageScribesTest, AFolderWithoutAHomePageGetsAnEmptyOneWithItsExport)
{
    PageScribes scribes = Scribes();
    FileReference folder("c:\\Proj");
    scribes.CreateHomePage(folder);
    ASSERT_TRUE(HostExists("Proj/index.mvi"));
    EXPECT_TRUE(HostExists("Proj/HTML/index.htm"));
    EXPECT_TRUE(HostExists("Proj/HTML/index.jpg"));
    {
        SmartPtr<FileReference> home = scribes.HomePageReference(folder, false);
        SmartPtr<ObjectFile> reader = new ObjectFile(GetGenericTypeIndex(), new File(*home.Get(), 1));
        SmartPtr<Smart> page = reader->Read();
        auto* show = SmartCast<CShow>(page.Get());
        ASSERT_NE(show, nullptr);
        Rect bounds;
        show->GetMovie()->GetBounds(bounds);
        EXPECT_EQ(bounds, Rect(0, 0, 350, 350));
        EXPECT_EQ(SmartCast<CMovieGroup>(show->GetMovie().Get())->NumSprites(), 0u);
    }

    // A folder that has its home page keeps it as it is.
    std::string stored = ReadHostFile("Proj/index.mvi");
    MakeHostFile("Proj/HTML/index.htm", "kept");
    EXPECT_FALSE(scribes.HomePageReference(folder, true).Valid());
    scribes.CreateHomePage(folder);
    EXPECT_EQ(ReadHostFile("Proj/index.mvi"), stored);
    EXPECT_EQ(ReadHostFile("Proj/HTML/index.htm"), "kept");
}

TEST_F(PageScribesTest, TheFrontPagesOwnFileGetsNoSecondWritingScribe)
{
    PageScribes scribes = Scribes();
    SmartPtr<FileReference> home = Document("Proj/Home.mvi");
    SmartPtr<Scribe> first = scribes.MakeScribe(home, 3);
    ASSERT_NE(SmartCast<TallowScribe>(first.Get()), nullptr) << "a writing scribe exports";
    frontScribe = first;

    const struct {
        const char* path;
        uint8_t mode;
        bool made;
    } cases[] = {
        { "c:\\PROJ\\home.mvi", 3, false },
        { "c:\\Proj\\Home.mvi", 1, true },
        { "c:\\Proj\\Second.mvi", 3, true },
    };
    MakeHostFile("Proj/Second.mvi");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        int before = baseScribes;
        SmartPtr<Scribe> scribe = scribes.MakeScribe(new FileReference(c.path), c.mode);
        EXPECT_EQ(scribe.Valid(), c.made);
        EXPECT_EQ(baseScribes - before, c.made ? 1 : 0);
    }
    // A scribe that cannot write (read only) is handed out unwrapped.
    SmartPtr<Scribe> reader = scribes.MakeScribe(home, 1);
    EXPECT_EQ(SmartCast<TallowScribe>(reader.Get()), nullptr);
}

TEST_F(PageScribesTest, OnlyTheFirstFileOfARunSetsTheCurrentFolder)
{
    PageScribes scribes = Scribes();
    scribes.MakeScribe(Document("Proj/Home.mvi"), 1);
    FileReference project("c:\\Proj");
    FileReference current = FileReference::CurrentFolder();
    EXPECT_TRUE(current == project);
    scribes.MakeScribe(Document("Other/Away.mvi"), 1);
    current = FileReference::CurrentFolder();
    EXPECT_TRUE(current == project);
}

// Once the run has chosen its folder (the project's), no file moves it, the first neither.
TEST_F(PageScribesTest, AFolderChosenForTheRunStaysCurrent)
{
    PageScribes scribes = Scribes();
    FileReference project("c:\\Proj");
    FileReference::SetAsCurrentDirectory(project);
    PageScribes::FolderChosen();
    for (const char* page : { "Other/Sample.mvi", "Other/Second.mvi" }) {
        SCOPED_TRACE(page);
        scribes.MakeScribe(Document(page), 1);
        FileReference current = FileReference::CurrentFolder();
        EXPECT_TRUE(current == project) << current.Path();
    }
}

} // namespace
