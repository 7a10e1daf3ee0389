#include "../kernel/KernelTestSupport.h"
#include "FileDialogRecord.h"

#include "platform/comdlg/ComdlgTesting.h"
#include "platform/testing/Problems.h"

#include <commdlg.h>

#include <gtest/gtest.h>

#include <cstring>

namespace pw::platform::tests {

namespace {

namespace driver = pw::platform::testing;

class ScriptedFileDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        driver::MakeHostFile("Projects/Site/index.htm");
        driver::MakeHostFile("Projects/Site/notes");
        driver::MakeHostFile("Projects/page.htm");
        ASSERT_TRUE(SetCurrentDirectoryA("c:\\Projects"));
    }
};

TEST_F(ScriptedFileDialog, AnOpenedFileComesBackWhole)
{
    OpenRecord open;
    open.ofn.lpstrFileTitle = open.title;
    open.ofn.nMaxFileTitle = MAX_PATH;
    driver::ScriptFileDialog("C:\\PROJECTS\\site\\INDEX.HTM");
    SetLastError(0);
    ASSERT_TRUE(GetOpenFileNameA(&open.ofn));
    // Existing names come back in their case on disk.
    EXPECT_STREQ(open.file, "c:\\Projects\\Site\\index.htm");
    EXPECT_EQ(open.ofn.nFileOffset, 17);
    EXPECT_EQ(open.ofn.nFileExtension, 23);
    EXPECT_STREQ(open.title, "index.htm");
    EXPECT_EQ(open.ofn.Flags & OFN_EXTENSIONDIFFERENT, 0u);
    EXPECT_EQ(CommDlgExtendedError(), 0u);
    EXPECT_EQ(GetLastError(), 0u);
    // The current folder follows the chosen file, as the shown dialog moves it.
    EXPECT_EQ(CurrentFolder(), "c:\\Projects\\Site");

    const auto& log = driver::FileDialogLog();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_FALSE(log[0].request.save);
    EXPECT_EQ(log[0].request.filters,
        (std::vector<FilterPair> { { "Pages (*.htm)", "*.htm" }, { "All Files (*.*)", "*.*" } }));
    EXPECT_EQ(log[0].request.filterIndex, 1u);
    EXPECT_EQ(log[0].request.flags, static_cast<DWORD>(OFN_FILEMUSTEXIST));
    EXPECT_EQ(log[0].request.initialFile, "");
    EXPECT_EQ(log[0].request.defaultExtension, "htm");
    EXPECT_EQ(log[0].chosen, "c:\\Projects\\Site\\index.htm");
}

TEST_F(ScriptedFileDialog, ATypedNameIsCompletedAsTheDialogWould)
{
    struct Case {
        const char* name;
        const char* answer;
        const char* defaultExtension;
        const char* initialFolder;
        const char* expected;
        WORD extension;
        bool different;
    };
    const Case cases[] = {
        { "relative, extension added", "page", "htm", nullptr, "c:\\Projects\\page.htm", 17, false },
        { "relative to the initial folder", "index", "htm", "c:\\Projects\\Site", "c:\\Projects\\Site\\index.htm", 23, false },
        { "its own extension kept", "Site\\notes.", "htm", nullptr, "c:\\Projects\\Site\\notes", 22, true },
        { "no default extension", "Site\\notes", nullptr, nullptr, "c:\\Projects\\Site\\notes", 22, false },
        { "another extension", "c:\\Projects\\page.htm", "wav", nullptr, "c:\\Projects\\page.htm", 17, true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(SetCurrentDirectoryA("c:\\Projects"));
        OpenRecord open(OFN_FILEMUSTEXIST, c.defaultExtension);
        open.ofn.lpstrInitialDir = c.initialFolder;
        driver::ScriptFileDialog(c.answer);
        ASSERT_TRUE(GetOpenFileNameA(&open.ofn));
        EXPECT_STREQ(open.file, c.expected);
        EXPECT_EQ(open.ofn.nFileExtension, c.extension);
        EXPECT_EQ((open.ofn.Flags & OFN_EXTENSIONDIFFERENT) != 0, c.different);
    }
}

TEST_F(ScriptedFileDialog, CancelLeavesEverythingAsItWas)
{
    OpenRecord open;
    std::strcpy(open.file, "keep");
    driver::ScriptFileDialogCancel();
    EXPECT_FALSE(GetOpenFileNameA(&open.ofn));
    EXPECT_EQ(CommDlgExtendedError(), 0u);
    EXPECT_STREQ(open.file, "keep");
    EXPECT_EQ(CurrentFolder(), "c:\\Projects");
    ASSERT_EQ(driver::FileDialogLog().size(), 1u);
    EXPECT_EQ(driver::FileDialogLog()[0].request.initialFile, "keep");
    EXPECT_EQ(driver::FileDialogLog()[0].chosen, "");
}

TEST_F(ScriptedFileDialog, AnAnswerTheFlagsForbidIsATestFault)
{
    struct Case {
        const char* name;
        bool save;
        DWORD flags;
        const char* answer;
    };
    const Case cases[] = {
        { "a missing file to open", false, OFN_FILEMUSTEXIST, "c:\\Projects\\gone.htm" },
        { "a missing folder to save in", true, OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT, "c:\\Nowhere\\index.htm" },
        { "a folder", false, 0, "c:\\Projects\\Site." },
        { "a bad name", true, 0, "c:\\Projects\\a|b.htm" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OpenRecord record(c.flags, nullptr);
        driver::ScriptFileDialog(c.answer);
        EXPECT_FALSE(c.save ? GetSaveFileNameA(&record.ofn) : GetOpenFileNameA(&record.ofn));
        EXPECT_EQ(driver::TakeProblems().size(), 1u);
        EXPECT_EQ(CurrentFolder(), "c:\\Projects");
    }
}

TEST_F(ScriptedFileDialog, SavingNeedsNoExistingFileAndCreatesNone)
{
    // The program's save record starts with "index" in the name field.
    OpenRecord save(OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT, "htm");
    std::strcpy(save.file, "index");
    driver::ScriptFileDialog("c:\\Projects\\Site\\new");
    ASSERT_TRUE(GetSaveFileNameA(&save.ofn));
    EXPECT_STREQ(save.file, "c:\\Projects\\Site\\new.htm");
    EXPECT_FALSE(driver::HostExists("Projects/Site/new.htm"));
    EXPECT_EQ(CurrentFolder(), "c:\\Projects\\Site");
    EXPECT_TRUE(driver::FileDialogLog()[0].request.save);
    EXPECT_EQ(driver::FileDialogLog()[0].request.initialFile, "index");
}

TEST_F(ScriptedFileDialog, NoChangeDirKeepsTheCurrentFolder)
{
    OpenRecord open(OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR);
    driver::ScriptFileDialog("c:\\Projects\\Site\\index.htm");
    ASSERT_TRUE(GetOpenFileNameA(&open.ofn));
    EXPECT_EQ(CurrentFolder(), "c:\\Projects");
}

TEST_F(ScriptedFileDialog, FailuresReportTheirExtendedError)
{
    OpenRecord small;
    small.ofn.nMaxFile = 10;
    driver::ScriptFileDialog("c:\\Projects\\Site\\index.htm");
    EXPECT_FALSE(GetOpenFileNameA(&small.ofn));
    EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(FNERR_BUFFERTOOSMALL));
    WORD needed = 0;
    std::memcpy(&needed, small.file, sizeof needed);
    EXPECT_EQ(needed, 27);
    EXPECT_EQ(CurrentFolder(), "c:\\Projects");

    OpenRecord wrongSize;
    wrongSize.ofn.lStructSize = 88;
    EXPECT_FALSE(GetOpenFileNameA(&wrongSize.ofn));
    EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(CDERR_STRUCTSIZE));

    // The size the program quotes from the 32-bit platform is accepted.
    OpenRecord quoted;
    quoted.ofn.lStructSize = 76;
    driver::ScriptFileDialogCancel();
    EXPECT_FALSE(GetOpenFileNameA(&quoted.ofn));
    EXPECT_EQ(CommDlgExtendedError(), 0u);

    OpenRecord unscripted;
    EXPECT_FALSE(GetOpenFileNameA(&unscripted.ofn));
    EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(CDERR_DIALOGFAILURE));
    EXPECT_FALSE(driver::FileDialogLog().back().scripted);
    EXPECT_EQ(driver::TakeProblems().size(), 1u);
}

} // namespace

} // namespace pw::platform::tests
