// The project of a run: the name checks as a table, the set-up with a scripted name (what the
// child is shown, the alerts, the folder on disk), and the real name dialog typed into.
#include "app/ProjectFolder.h"
#include "app/ProjectName.h"
#include "app/ProjectNameDialog.h"

#include "foundation/String.h"
#include "foundation/UserCancelException.h"
#include "ui/Dialog.h"
#include "ui/FrameworkFixture.h"

#include "foundation/Failure.h"

#include "platform/kernel/KernelTestSupport.h"
#include "platform/testing/TestDriver.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

namespace driver = pw::platform::testing;
using pw::foundation::TextOf;

const std::string kBadCharacters
    = "Invalid Characters in Name! Please make sure you use only alpha-numeric characters (a-z, 0-9, A-Z).\n"
      " Do not use  '/', '\\', '*', '|', '.', a space or other similar special characters.";

TEST(ProjectName, LongEmptyAndOddNamesAreRefusedWithTheNameToOfferNext)
{
    const struct {
        const char* name;
        std::string typed;
        size_t limit;
        int32_t message;
        std::string next;
    } cases[] = {
        { "32 characters fit the limit", std::string(32, 'a'), 32, 0, std::string(32, 'a') },
        { "33 are cut to one fewer than the limit", std::string(33, 'b'), 32, 59, std::string(31, 'b') },
        { "9 on the older platform are cut to 7", "abcdefghi", 8, 59, "abcdefg" },
        { "too long is told before odd characters", "a b c d e", 8, 59, "a b c d" },
        { "empty", "", 32, 60, "Project" },
        { "letters and digits", "Kim2000z", 32, 0, "Kim2000z" },
        { "a blank", "My Site", 32, 61, "Project" },
        { "a point", "site.htm", 32, 61, "Project" },
        { "a slash", "a/b", 32, 61, "Project" },
        { "a backslash", "a\\b", 32, 61, "Project" },
        { "an asterisk", "a*", 32, 61, "Project" },
        { "a bar", "a|b", 32, 61, "Project" },
        { "an underscore", "my_site", 32, 61, "Project" },
        { "a hyphen", "my-site", 32, 61, "Project" },
        { "a letter outside a-z", "caf\xE9", 32, 61, "Project" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        pw::app::ProjectNameCheck check = pw::app::CheckProjectName(c.typed, c.limit, "Project");
        EXPECT_EQ(check.message, c.message);
        EXPECT_EQ(check.name, c.next);
    }
}

class ProjectFolderTest : public uitest::FrameworkTest {
protected:
    void SetUp() override
    {
        FrameworkTest::SetUp();
        Fresh();
    }
    void TearDown() override
    {
        Fresh();
        driver::SetIdleHandler(nullptr);
        FrameworkTest::TearDown();
    }

    // Back in the start-up folder, with no "Projects" and nothing shown yet.
    void Fresh()
    {
        FileReference startup = FileReference::StartupFolder();
        FileReference::SetAsCurrentDirectory(startup);
        std::filesystem::remove_all(driver::HostPath("plume/Projects"));
        shown.clear();
        alertsBefore = driver::AlertLog().size();
    }

    // A project whose dialog shows `shown` and answers with the next typed name (none: Cancel).
    pw::app::ProjectFolder Scripted(std::vector<std::optional<std::string>> typed)
    {
        return pw::app::ProjectFolder([this, typed, next = size_t(0)](const SmartPtr<String>& name) mutable {
            shown.push_back(TextOf(*name.Get()));
            if (next == typed.size() || !typed[next])
                return false;
            name->Assign(String(typed[next++]->c_str()));
            return true;
        });
    }

    // The alerts since the last Fresh.
    std::vector<std::string> Alerts() const
    {
        std::vector<std::string> texts;
        for (size_t index = alertsBefore; index < driver::AlertLog().size(); ++index)
            texts.push_back(driver::AlertLog()[index].text);
        return texts;
    }

    std::vector<std::string> shown;
    size_t alertsBefore { 0 };
};

TEST_F(ProjectFolderTest, TheFirstNewPageAsksUntilANameIsGoodThenEntersItsFolder)
{
    const struct {
        const char* name;
        bool projectsThere;
        std::vector<std::optional<std::string>> typed;
        std::vector<std::string> shown;
        std::vector<std::string> alerts;
        const char* folder;
    } cases[] = {
        { "the default accepted", true, { "Project" }, { "Project" }, {}, "Project" },
        { "every refusal shown, the dialog again with the cut name or the default", true,
            { std::string(40, 'k'), "", "my site", "Kim" }, { "Project", std::string(31, 'k'), "Project", "Project" },
            { "Too Many Characters in Name!", "No Characters in Name!", kBadCharacters }, "Kim" },
        { "a missing Projects folder is named, then made", false, { "Zoo" }, { "Project" },
            { "Can't find the \"Projects\" folder. \nPlease try re-installing your software." }, "Zoo" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Fresh();
        if (c.projectsThere)
            driver::MakeHostFolder("plume/Projects");
        driver::ScriptMessageBoxes({ IDOK, IDOK, IDOK });
        pw::app::ProjectFolder project = Scripted(c.typed);
        project.Ensure();
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(Alerts(), c.alerts);
        EXPECT_TRUE(std::filesystem::is_directory(driver::HostPath(std::string("plume/Projects/") + c.folder)));
        ASSERT_TRUE(project.GetFolder().Valid());
        EXPECT_STREQ(project.GetFolder()->Path(), FileReference::CurrentFolder().Path());
        EXPECT_EQ(TextOf(project.GetFolder()->Name()), c.folder);
        EXPECT_EQ(TextOf(*project.GetName().Get()), c.folder);
    }
}

TEST_F(ProjectFolderTest, CancelEndsSilentlyAndASecondNewPageAsksNothing)
{
    driver::MakeHostFolder("plume/Projects");
    pw::app::ProjectFolder cancelled = Scripted({ std::nullopt });
    try {
        cancelled.Ensure();
        ADD_FAILURE() << "no cancel";
    } catch (Exception* exception) {
        EXPECT_NE(dynamic_cast<UserCancelException*>(exception), nullptr);
    }
    EXPECT_FALSE(cancelled.IsSetUp());
    EXPECT_FALSE(cancelled.GetFolder().Valid());

    pw::app::ProjectFolder project = Scripted({ "Kim", "Other" });
    project.Ensure();
    project.Ensure();
    EXPECT_EQ(shown, (std::vector<std::string> { "Project", "Project" })) << "asked once after the cancel";
    EXPECT_EQ(TextOf(project.GetFolder()->Name()), "Kim");
    EXPECT_FALSE(driver::HostExists("plume/Projects/Other"));
    EXPECT_TRUE(Alerts().empty());
}

// The real dialog: its field holds the name, all of it selected at first, and takes the keys;
// Return or OK accepts, Escape cancels.
TEST_F(ProjectFolderTest, TheNameDialogEditsTheNameInItsField)
{
    const struct {
        const char* name;
        std::string keys;
        bool accepted;
        std::string result;
        bool selectAllFirst { true };
    } cases[] = {
        { "typed over and Return", "Kim\n", true, "Kim" },
        { "typed straight over the proposed name", "Kitty\n", true, "Kitty", false },
        { "Escape", "Kim\x1b", false, "Kim" },
        { "typed after the default, then OK", "2", true, "Project2" },
        { "accented letters kept as typed", "Zo\xE9 \xC7" "a\n", true, "Zo\xE9 \xC7" "a" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        bool typed = false;
        driver::SetIdleHandler([&] {
            Dialog* dialog = dynamic_cast<Dialog*>(app->GetWindow(app->NumWindows()).Get());
            if (typed || !dialog)
                return false;
            typed = true;
            if (c.keys == "2") {
                driver::TypeKey(VK_END);
                driver::TypeText("2");
                HWND ok = driver::FindWindowByTitle("OK");
                RECT box {};
                GetWindowRect(ok, &box);
                driver::Click((box.left + box.right) / 2, (box.top + box.bottom) / 2);
                return true;
            }
            if (c.selectAllFirst) {
                driver::PressKey(VK_CONTROL);
                driver::TypeKey('A');
                driver::ReleaseKey(VK_CONTROL);
            }
            for (char key : c.keys) {
                if (key == '\x1b')
                    driver::TypeKey(VK_ESCAPE);
                else
                    driver::TypeText(std::string(1, key));
            }
            return true;
        });
        SmartPtr<String> name(new String("Project"));
        bool accepted = false;
        EXPECT_EQ(Failure([&] { accepted = pw::app::AskProjectName(name); }), "");
        EXPECT_EQ(accepted, c.accepted);
        EXPECT_TRUE(typed);
        EXPECT_EQ(TextOf(*name.Get()), c.result);
        driver::SetIdleHandler(nullptr);
    }
}

} // namespace
