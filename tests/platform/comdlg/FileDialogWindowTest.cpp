#include "../kernel/KernelTestSupport.h"
#include "FileDialogRecord.h"

#include "platform/comdlg/ComdlgTesting.h"
#include "platform/comdlg/FileDialog.h"
#include "platform/testing/TestDriver.h"
#include "platform/user/Window.h"
#include "platform/user/menus/DialogLoop.h"
#include "platform/user/menus/MenuTesting.h"

#include <commdlg.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>

namespace pw::platform::tests {

namespace {

namespace driver = pw::platform::testing;

constexpr const char* kTitle = "Choose a page";

class ShownFileDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        driver::ShowDialogs(true);
        driver::MakeHostFile("Projects/Site/index.htm");
        driver::MakeHostFile("Projects/Site/About.htm");
        driver::MakeHostFile("Projects/Site/logo.bmp");
        driver::MakeHostFile("Projects/Site/Pictures/cat.htm");
        ASSERT_TRUE(SetCurrentDirectoryA("c:\\Projects\\Site"));
        ofn.lpstrTitle = kTitle;
    }

    // Each idle moment of the dialog's loop runs the next step (which queues input or looks);
    // when the steps are done, idle moments let the loop end.
    void Steps(std::vector<std::function<void(HWND)>> steps)
    {
        driver::SetIdleHandler([this, steps] {
            HWND dialog = driver::FindWindowByTitle(kTitle);
            if (!dialog || next >= steps.size())
                return false;
            steps[next++](dialog);
            return true;
        });
    }

    static HWND Control(HWND dialog, int id)
    {
        for (HWND child : WindowTable::Handles()) {
            const Window* window = WindowTable::Find(child);
            if (window && window->IsChild() && window->Parent() == dialog && window->idOrMenu == id)
                return child;
        }
        return nullptr;
    }

    static std::vector<std::string> Items(HWND dialog, int id)
    {
        HWND list = Control(dialog, id);
        std::vector<std::string> items;
        for (LRESULT i = 0; i < SendMessageA(list, LB_GETCOUNT, 0, 0); ++i) {
            char text[MAX_PATH] = "";
            SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            items.push_back(text);
        }
        return items;
    }

    // The middle of row `index` of a list box, on the screen (in the list without a dialog).
    static POINT RowPoint(HWND dialog, int id, int index)
    {
        HDC dc = CreateCompatibleDC(nullptr);
        HFONT font = CreateDialogFont();
        HGDIOBJ old = SelectObject(dc, font);
        TEXTMETRICA metrics {};
        GetTextMetricsA(dc, &metrics);
        SelectObject(dc, old);
        DeleteObject(font);
        DeleteDC(dc);
        POINT at { 8, index * metrics.tmHeight + metrics.tmHeight / 2 };
        if (dialog)
            ClientToScreen(Control(dialog, id), &at);
        return at;
    }

    static void ClickButton(HWND dialog, int id)
    {
        RECT rect;
        GetWindowRect(Control(dialog, id), &rect);
        driver::Click((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    }

    OpenRecord record;
    char (&file)[MAX_PATH] = record.file;
    OPENFILENAMEA& ofn = record.ofn;
    size_t next { 0 };
};

TEST_F(ShownFileDialog, ATypedNameIsCompletedAndChosen)
{
    Steps({ [](HWND) { driver::TypeText("about\n"); } });
    ASSERT_TRUE(GetOpenFileNameA(&ofn));
    EXPECT_STREQ(file, "c:\\Projects\\Site\\About.htm");
    EXPECT_EQ(ofn.nFileOffset, 17);
    EXPECT_EQ(CurrentFolder(), "c:\\Projects\\Site");
    EXPECT_EQ(driver::FindWindowByTitle(kTitle), nullptr);
    // Shown dialogs are not scripted ones.
    EXPECT_TRUE(driver::FileDialogLog().empty());
}

TEST_F(ShownFileDialog, ListsFollowTheFilterAndTheFolder)
{
    std::vector<std::string> pages, all, folders, inPictures, pictureFolders;
    Steps({
        [&](HWND dialog) {
            pages = Items(dialog, FileDialog::kFileList);
            folders = Items(dialog, FileDialog::kFolderList);
            POINT allFiles = RowPoint(dialog, FileDialog::kFilterList, 1);
            driver::Click(allFiles.x, allFiles.y);
        },
        [&](HWND dialog) {
            all = Items(dialog, FileDialog::kFileList);
            POINT pictures = RowPoint(dialog, FileDialog::kFolderList, 1);
            driver::DoubleClick(pictures.x, pictures.y);
        },
        [&](HWND dialog) {
            inPictures = Items(dialog, FileDialog::kFileList);
            pictureFolders = Items(dialog, FileDialog::kFolderList);
            POINT cat = RowPoint(dialog, FileDialog::kFileList, 0);
            driver::Click(cat.x, cat.y);
            ClickButton(dialog, IDOK);
        },
    });
    ASSERT_TRUE(GetOpenFileNameA(&ofn));
    EXPECT_EQ(pages, (std::vector<std::string> { "About.htm", "index.htm" }));
    EXPECT_EQ(folders, (std::vector<std::string> { "..", "Pictures" }));
    EXPECT_EQ(all, (std::vector<std::string> { "About.htm", "index.htm", "logo.bmp" }));
    EXPECT_EQ(inPictures, (std::vector<std::string> { "cat.htm" }));
    EXPECT_EQ(pictureFolders, (std::vector<std::string> { ".." }));
    EXPECT_STREQ(file, "c:\\Projects\\Site\\Pictures\\cat.htm");
    EXPECT_EQ(ofn.nFilterIndex, 2u);
    EXPECT_EQ(CurrentFolder(), "c:\\Projects\\Site\\Pictures");
}

TEST_F(ShownFileDialog, ARefusedNameIsExplainedAndTheDialogStays)
{
    // Return answers the explanation's OK; the dialog is still there for the next name.
    Steps({ [](HWND) { driver::TypeText("missing\n\n"); }, [](HWND) { driver::TypeText("Pictures\ncat\n"); } });
    ASSERT_TRUE(GetOpenFileNameA(&ofn));
    EXPECT_STREQ(file, "c:\\Projects\\Site\\Pictures\\cat.htm");
    ASSERT_EQ(driver::AlertLog().size(), 1u);
    EXPECT_EQ(driver::AlertLog()[0].text, "c:\\Projects\\Site\\missing.htm\nThis file does not exist.\nCheck the name and try again.");
    EXPECT_EQ(driver::AlertLog()[0].caption, kTitle);
}

TEST_F(ShownFileDialog, SavingOverAFileAsksFirst)
{
    ofn.Flags = OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT;
    std::strcpy(file, "index");
    // The name field starts with "index", selected: Return asks; No (Tab, Return) keeps the
    // dialog; asked again, Yes (Return) chooses.
    Steps({ [](HWND) {
        driver::TypeKey(VK_RETURN);
        driver::TypeKey(VK_TAB);
        driver::TypeKey(VK_RETURN);
        driver::TypeKey(VK_RETURN);
        driver::TypeKey(VK_RETURN);
    } });
    ASSERT_TRUE(GetSaveFileNameA(&ofn));
    EXPECT_STREQ(file, "c:\\Projects\\Site\\index.htm");
    const auto& asked = driver::AlertLog();
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].text, "c:\\Projects\\Site\\index.htm already exists.\nDo you want to replace it?");
    EXPECT_EQ(asked[0].answer, IDNO);
    EXPECT_EQ(asked[1].answer, IDYES);
}

// A folder list longer than the box shows whole rows only: below the last one that fits, the
// list is blank, as it is when scrolled to its end.
TEST_F(ShownFileDialog, TheFolderListShowsOnlyWholeRows)
{
    for (int n = 10; n < 30; ++n)
        driver::MakeHostFolder("Projects/Site/Folder" + std::to_string(n));
    int rowHeight = RowPoint(nullptr, 0, 1).y - RowPoint(nullptr, 0, 0).y;
    Steps({ [&](HWND dialog) {
        HWND list = Control(dialog, FileDialog::kFolderList);
        RECT client {};
        GetClientRect(list, &client);
        int whole = client.bottom / rowHeight;
        ASSERT_NE(client.bottom % rowHeight, 0) << "the box leaves part of a row";
        int itemsRight = client.right - GetSystemMetrics(SM_CXVSCROLL);
        for (bool scrolled : { false, true }) {
            SCOPED_TRACE(scrolled ? "at the end" : "at the top");
            if (scrolled) {
                SendMessageA(list, LB_SETTOPINDEX, 1000, 0);
                driver::RunUntilIdle();
            }
            Frame shown = driver::ReadClientArea(list);
            auto inkIn = [&](int top, int bottom) {
                int ink = 0;
                for (int y = top; y < bottom; ++y)
                    for (int x = 0; x < itemsRight; ++x)
                        ink += shown.At(x, y) != 255;
                return ink;
            };
            EXPECT_GT(inkIn((whole - 1) * rowHeight, whole * rowHeight), 0) << "the last whole row shows";
            EXPECT_EQ(inkIn(whole * rowHeight, client.bottom), 0) << "no part of a row shows";
        }
        driver::TypeKey(VK_ESCAPE);
    } });
    EXPECT_FALSE(GetOpenFileNameA(&ofn));
}

TEST_F(ShownFileDialog, CancelAndEscLeaveEverythingAsItWas)
{
    for (bool button : { true, false }) {
        SCOPED_TRACE(button ? "Cancel button" : "Esc");
        next = 0;
        Steps({ [button](HWND dialog) {
            driver::TypeText("Pictures\n");
            if (button)
                ClickButton(dialog, IDCANCEL);
            else
                driver::TypeKey(VK_ESCAPE);
        } });
        EXPECT_FALSE(GetOpenFileNameA(&ofn));
        EXPECT_EQ(CommDlgExtendedError(), 0u);
        EXPECT_STREQ(file, "");
        EXPECT_EQ(CurrentFolder(), "c:\\Projects\\Site");
    }
}

TEST_F(ShownFileDialog, ATypedPatternFiltersTheFiles)
{
    std::vector<std::string> shown;
    Steps({
        [](HWND) { driver::TypeText("*.bmp\n"); },
        [&](HWND dialog) {
            shown = Items(dialog, FileDialog::kFileList);
            driver::SaveDesktopAsBmp(::testing::TempDir() + "file-dialog.bmp");
            driver::TypeKey(VK_ESCAPE);
        },
    });
    EXPECT_FALSE(GetOpenFileNameA(&ofn));
    EXPECT_EQ(shown, (std::vector<std::string> { "logo.bmp" }));
}

} // namespace

// A deep folder's path shows whole above the folder list: cut after backslashes into lines that
// each fit the label, as many as the label has room for.
TEST_F(ShownFileDialog, TheFolderPathShowsWholeInLinesThatFit)
{
    driver::MakeHostFile("Projects/Site/Pictures/Holiday Pictures/Summer by the sea/shell.htm");
    ASSERT_TRUE(SetCurrentDirectoryA("c:\\Projects\\Site\\Pictures\\Holiday Pictures\\Summer by the sea"));
    std::string shown;
    std::vector<int> widths;
    RECT label {};
    int lineHeight = 0;
    Steps({ [&](HWND dialog) {
        HWND control = Control(dialog, FileDialog::kFolderLabel);
        char text[MAX_PATH * 2] = "";
        GetWindowTextA(control, text, sizeof text);
        shown = text;
        GetClientRect(control, &label);
        HDC dc = CreateCompatibleDC(nullptr);
        HFONT font = CreateDialogFont();
        HGDIOBJ old = SelectObject(dc, font);
        TEXTMETRICA metrics {};
        GetTextMetricsA(dc, &metrics);
        lineHeight = metrics.tmHeight;
        size_t start = 0;
        for (;;) {
            size_t end = shown.find('\n', start);
            std::string line = shown.substr(start, end == std::string::npos ? std::string::npos : end - start);
            SIZE size {};
            GetTextExtentPoint32A(dc, line.c_str(), static_cast<int>(line.size()), &size);
            widths.push_back(size.cx);
            if (end == std::string::npos)
                break;
            start = end + 1;
        }
        SelectObject(dc, old);
        DeleteObject(font);
        DeleteDC(dc);
        driver::TypeKey(VK_ESCAPE);
    } });
    EXPECT_FALSE(GetOpenFileNameA(&ofn));
    std::string joined = shown;
    joined.erase(std::remove(joined.begin(), joined.end(), '\n'), joined.end());
    EXPECT_EQ(joined, "c:\\Projects\\Site\\Pictures\\Holiday Pictures\\Summer by the sea");
    EXPECT_GT(widths.size(), 1u);
    for (int width : widths)
        EXPECT_LE(width, label.right);
    EXPECT_LE(static_cast<int>(widths.size()) * lineHeight, label.bottom);
}

} // namespace pw::platform::tests
