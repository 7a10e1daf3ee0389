// The server information dialog driven through its real window: prefilled from the settings or the
// defaults, typed into and ended with clicks and keys, and what OK and Cancel leave in the files.
#include "app/ServerDialog.h"

#include "foundation/String.h"
#include "ui/Control.h"
#include "ui/Dialog.h"
#include "ui/FrameworkFixture.h"
#include "ui/TextView.h"
#include "ui/WindowFrame.h"

#include "app/DialogSteps.h"
#include "app/TextsShown.h"

#include "platform/kernel/KernelTestSupport.h"
#include "platform/testing/TestDriver.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

namespace driver = pw::platform::testing;
using dialogtest::ClickIn;
using dialogtest::WindowText;

constexpr const char* kDefaultURL = "ftp:/isp.test/users/account/public_html";
constexpr const char* kStoredURL = "ftp://ftp.isp.example/users/kid/public_html";

std::string Bytes(const String& text)
{
    uint32_t length = 0;
    String::CharIterator chars(text, length);
    return length ? std::string(chars.Chars(), length) : std::string();
}

// The dialog as the user sees it: its texts, its three fields and its buttons.
struct Seen {
    std::vector<std::string> texts;
    std::vector<HWND> fields;
    std::map<std::string, HWND> buttons;
    Rect placed;
    std::vector<std::string> cut;
};

Seen Look(Dialog& dialog)
{
    Seen seen;
    const SmartList<View>& children = dialog.GetChildren();
    for (uint32_t index = 1; index <= children.NumItems(); ++index) {
        View* child = children.Item(index);
        if (auto* text = dynamic_cast<TextView*>(child)) {
            if (text->GetEditWindow())
                seen.fields.push_back(text->GetEditWindow());
            else
                seen.texts.push_back(Bytes(*text->GetText().Get()));
        } else if (auto* control = dynamic_cast<Control*>(child)) {
            seen.buttons[WindowText(control->GetControlWindow())] = control->GetControlWindow();
        }
    }
    seen.placed = dialog.GetRect();
    seen.cut = dialogtest::TextsNotWhole(dialog);
    return seen;
}

using Step = std::function<void(const Seen&)>;

class ServerDialogTest : public uitest::FrameworkTest {
protected:
    void TearDown() override
    {
        driver::SetIdleHandler(nullptr);
        FrameworkTest::TearDown();
    }

    // Runs the dialog; each time it waits for the user, the next step looks at it and queues input.
    bool Ask(const std::vector<Step>& steps)
    {
        url = new String("before");
        account = new String("before");
        password = new String("before");
        bool answer = false;
        dialogtest::Drive<Dialog, Seen>(
            *app, [&] { answer = AskServerInfo(url, account, password); }, Look, steps, seen);
        return answer;
    }

    // Writes the files of the settings given and removes those of the others.
    static void Settings(const std::map<int, std::string>& files)
    {
        for (int number : { 1000, 1001, 1002, 2000 })
            std::filesystem::remove_all(driver::HostPath(File(number)));
        for (const auto& [number, content] : files)
            driver::MakeHostFile(File(number), content);
    }

    static std::string File(int number) { return "plume/Data/" + std::to_string(number) + ".txt"; }

    static std::optional<std::string> Stored(int number)
    {
        if (!driver::HostExists(File(number)))
            return std::nullopt;
        return driver::ReadHostFile(File(number));
    }

    static Step Press(const char* button)
    {
        return [button](const Seen& seen) { ClickIn(seen.buttons.at(button)); };
    }

    // Replaces the text of field `index` (0 URL, 1 account, 2 password) with `text`.
    static Step TypeInto(size_t index, const std::string& text)
    {
        return [index, text](const Seen& seen) {
            ClickIn(seen.fields.at(index));
            driver::PressKey(VK_CONTROL);
            driver::TypeKey('A');
            driver::ReleaseKey(VK_CONTROL);
            driver::TypeText(text);
        };
    }

    SmartPtr<String> url;
    SmartPtr<String> account;
    SmartPtr<String> password;
    Seen seen;
};

TEST_F(ServerDialogTest, FieldsComeFromTheSettingsOrTheDefaultsAndNoPasswordIsBuiltIn)
{
    const std::string defaultPrompt = "Please enter the URL of the server directory where you wish to place your files."
                                      " You can obtain this URL by contacting your Internet Service Provider.\n"
                                      "For more information, visit the ISP help page at "
                                      "\"http://www.plumewright.example/isp.htm\".";
    struct Case {
        const char* name;
        std::map<int, std::string> settings;
        std::string prompt;
        std::vector<std::string> fields;
    } cases[] = {
        { "no settings: the defaults, and an empty password", {}, defaultPrompt, { kDefaultURL, "account", "" } },
        { "stored values, the line ends a file closes with dropped; the prompt whole",
            { { 1000, std::string(kStoredURL) + "\r\n" }, { 1001, "kid\n" }, { 1002, "s3cret" },
                { 2000, "Ask your teacher.\nThen type.\n" } },
            "Ask your teacher.\nThen type.\n", { kStoredURL, "kid", "s3cret" } },
        { "empty files are empty values", { { 1000, "" }, { 1001, "" } }, defaultPrompt, { "", "", "" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Settings(c.settings);
        std::vector<std::string> shown;
        std::string masks;
        EXPECT_FALSE(Ask({ [&](const Seen& seen) {
                              for (HWND field : seen.fields) {
                                  shown.push_back(WindowText(field));
                                  LRESULT mask = SendMessageA(field, EM_GETPASSWORDCHAR, 0, 0);
                                  masks += mask ? char(mask) : '-';
                              }
                          },
            Press("Cancel") }));
        EXPECT_EQ(seen.texts, (std::vector<std::string> { c.prompt, "Server URL:", "Account:", "Password:" }));
        EXPECT_EQ(shown, c.fields);
        EXPECT_EQ(masks, "--*") << "only the password is masked";
    }
    // Centred where windows are kept.
    Rect area = WindowFrame::ScreenRect();
    EXPECT_LE(std::abs((seen.placed.left + seen.placed.right) - (area.left + area.right)), 1);
    EXPECT_LE(std::abs((seen.placed.top + seen.placed.bottom) - (area.top + area.bottom)), 1);
}

// The dialog keeps its own size whatever the URL it starts with (a longer one scrolls in its
// field); in it the shipped prompt, labels and defaults, and a stored account and password, show
// whole.
TEST_F(ServerDialogTest, TheDialogKeepsItsSizeAndItsTextsShowWhole)
{
    struct Case {
        const char* name;
        std::map<int, std::string> settings;
        bool whole;
    } cases[] = {
        { "the shipped texts", {}, true },
        { "a stored URL longer than its field",
            { { 1000, "ftp://ftp.isp.example/users/k/kim/public_html/homework" }, { 1001, "kim" }, { 1002, "pw" } },
            false },
    };
    std::vector<Point> sizes;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Settings(c.settings);
        EXPECT_FALSE(Ask({ Press("Cancel") }));
        sizes.push_back(seen.placed.Size());
        std::vector<std::string> cut;
        if (!c.whole)
            cut.push_back("field: " + c.settings.at(1000));
        EXPECT_EQ(seen.cut, cut);
    }
    EXPECT_EQ(sizes[0], sizes[1]);
}

// OK stores the URL and the account exactly as typed and never the password; Cancel stores
// nothing; Return in a one-line field ends the dialog instead of breaking the line.
TEST_F(ServerDialogTest, OkStoresTheURLAndAccountOnlyAndCancelStoresNothing)
{
    const std::map<int, std::string> stored { { 1000, std::string(kStoredURL) + "\r\n" }, { 1002, "old" } };
    struct Case {
        const char* name;
        std::map<int, std::string> settings;
        std::vector<Step> steps;
        bool answer;
        std::vector<std::string> strings;
        std::optional<std::string> url, account, password;
    } cases[] = {
        { "OK after typing into every field", stored,
            { TypeInto(0, "ftp://ftp.new.example/~kim"), TypeInto(1, "kim"), TypeInto(2, "pa55"), Press("OK") }, true,
            { "ftp://ftp.new.example/~kim", "kim", "pa55" }, "ftp://ftp.new.example/~kim", "kim", "old" },
        { "Return in the password field ends it as OK", {}, { TypeInto(2, "pa55\n") }, true,
            { kDefaultURL, "account", "pa55" }, kDefaultURL, "account", std::nullopt },
        { "Tab moves on to the next field, selecting its text", {},
            { TypeInto(0, "ftp://a.example\tkim\tpw"), Press("OK") }, true, { "ftp://a.example", "kim", "pw" },
            "ftp://a.example", "kim", std::nullopt },
        { "Cancel after typing", stored, { TypeInto(0, "ftp://other.example"), TypeInto(1, "kim"), Press("Cancel") },
            false, { "ftp://other.example", "kim", "old" }, std::string(kStoredURL) + "\r\n", std::nullopt, "old" },
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        Settings(c.settings);
        EXPECT_EQ(Ask(c.steps), c.answer);
        EXPECT_EQ((std::vector<std::string> { Bytes(*url.Get()), Bytes(*account.Get()), Bytes(*password.Get()) }),
            c.strings);
        EXPECT_EQ(Stored(1000), c.url);
        EXPECT_EQ(Stored(1001), c.account);
        EXPECT_EQ(Stored(1002), c.password);
        EXPECT_TRUE(driver::AlertLog().empty());
    }
}

TEST_F(ServerDialogTest, AStoreThatFailsIsReportedAndTheTypedValuesAreKept)
{
    Settings({});
    // A folder where the URL's file would go: the file cannot be written.
    driver::MakeHostFolder(File(1000));
    driver::ScriptMessageBoxes({ IDOK });
    EXPECT_TRUE(Ask({ TypeInto(1, "kim"), Press("OK") }));
    EXPECT_EQ(Bytes(*account.Get()), "kim");
    ASSERT_EQ(driver::AlertLog().size(), 1u);
    EXPECT_EQ(driver::AlertLog()[0].text, "Failed to Save FTP Server Information");
    std::filesystem::remove_all(driver::HostPath(File(1000)));
}

} // namespace
