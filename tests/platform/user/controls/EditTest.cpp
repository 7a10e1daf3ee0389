#include "ControlFixture.h"

#include "platform/testing/TestDriver.h"
#include "platform/user/clipboard/ClipboardTesting.h"

namespace pw::platform::tests {

namespace {

class EditTest : public ControlFixture {
protected:
    void SetUp() override
    {
        ControlFixture::SetUp();
        font = CreateFontA(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
        ASSERT_NE(nullptr, font);
    }
    void TearDown() override
    {
        DeleteObject(font);
        ControlFixture::TearDown();
    }

    // The width of text in the test font.
    int Extent(const std::string& text) const
    {
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ previous = SelectObject(dc, font);
        SIZE size {};
        GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
        SelectObject(dc, previous);
        DeleteDC(dc);
        return size.cx;
    }

    HWND MakeEdit(DWORD style, RECT rect, const char* text = "")
    {
        HWND edit = MakeControl("EDIT", style, rect, text);
        SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        testing::RunUntilIdle();
        return edit;
    }

    // The control's lines as EM_GETLINECOUNT, EM_LINEINDEX and EM_LINELENGTH report them.
    static std::vector<std::string> Lines(HWND edit)
    {
        std::string text = TextOf(edit);
        std::vector<std::string> lines;
        auto count = SendMessageA(edit, EM_GETLINECOUNT, 0, 0);
        for (LRESULT line = 0; line < count; ++line) {
            auto start = SendMessageA(edit, EM_LINEINDEX, static_cast<WPARAM>(line), 0);
            auto length = SendMessageA(edit, EM_LINELENGTH, static_cast<WPARAM>(start), 0);
            lines.push_back(text.substr(static_cast<size_t>(start), static_cast<size_t>(length)));
        }
        EXPECT_EQ(-1, SendMessageA(edit, EM_LINEINDEX, static_cast<WPARAM>(count), 0)) << "past the last line";
        return lines;
    }

    std::pair<DWORD, DWORD> Selection(HWND edit) const
    {
        DWORD start = 0, end = 0;
        SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return { start, end };
    }

    void ClickAt(HWND edit, int x, int y = 5)
    {
        POINT p = OnScreen(edit, POINT { x, y });
        testing::Click(p.x, p.y);
        testing::RunUntilIdle();
    }

    HFONT font { nullptr };
};

// The hidden control the program measures text with: made like that, it wraps by the fixed
// rules in the font it is given.
TEST_F(EditTest, MeasuringControlWrapsByTheFixedRules)
{
    struct {
        const char* name;
        std::string text;
        std::string widthOf;
        int less;
        std::vector<std::string> lines;
    } const cases[] = {
        { "empty text", "", "abc", 0, { "" } },
        { "fits", "abc abc abc", "abc abc abc", 0, { "abc abc abc" } },
        { "a word that fits keeps its blank", "abc abc abc", "abc abc", 0, { "abc abc ", "abc" } },
        { "break after the last blank that fits", "abc abc abc", "abc abc", 1, { "abc ", "abc ", "abc" } },
        { "a long word breaks at the width", "abcdefgh", "abcd", 0, { "abcd", "efgh" } },
        { "trailing blanks stay", "abc   \r\nabc", "abc", 0, { "abc   ", "abc" } },
        { "CR LF and LF break", "abc\nabc\r\n", "abcdefgh", 0, { "abc", "abc", "" } },
    };
    HWND main = CreateWindowExA(0, "STATIC", "Main", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        int width = Extent(c.widthOf) - c.less;
        HWND edit = CreateWindowExA(0, "EDIT", c.text.c_str(), WS_CHILD | ES_WANTRETURN | ES_AUTOVSCROLL | ES_MULTILINE,
            0, 0, width, 10000, main, reinterpret_cast<HMENU>(100), nullptr, nullptr);
        ASSERT_NE(nullptr, edit);
        SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        EXPECT_EQ(c.lines, Lines(edit));
        EXPECT_TRUE(DestroyWindow(edit));
    }
    DestroyWindow(main);
}

TEST_F(EditTest, TypingEditsAndSendsEnChangeForEachChange)
{
    HWND edit = MakeEdit(ES_AUTOHSCROLL, RECT { 10, 10, 210, 30 });
    ClickAt(edit, 5);
    ASSERT_EQ(edit, GetFocus());
    testing::TypeText("hi\b!");
    testing::RunUntilIdle();
    EXPECT_EQ("h!", TextOf(edit));
    EXPECT_EQ(4u, CountOf(WM_COMMAND, EN_CHANGE));
    EXPECT_EQ(edit, log.back().control);
    // Moves and a Backspace at the start change nothing, so they announce nothing.
    testing::TypeKey(VK_HOME);
    testing::TypeText("\b");
    testing::TypeKey(VK_LEFT);
    testing::RunUntilIdle();
    EXPECT_EQ(4u, CountOf(WM_COMMAND, EN_CHANGE));
    // Setting the text is not an edit by the user.
    SetWindowTextA(edit, "new");
    EXPECT_EQ(4u, CountOf(WM_COMMAND, EN_CHANGE));
    EXPECT_EQ("new", TextOf(edit));
}

TEST_F(EditTest, ReturnBreaksLinesOnlyWithWantReturn)
{
    struct {
        const char* name;
        DWORD style;
        const char* text;
        size_t lines;
    } const cases[] = {
        { "want return", ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL, "a\r\nb", 2 },
        { "return left to the dialog", ES_MULTILINE | ES_AUTOVSCROLL, "ab", 1 },
        { "single line", ES_AUTOHSCROLL | ES_WANTRETURN, "ab", 1 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HWND edit = MakeEdit(c.style, RECT { 10, 10, 210, 110 });
        SetFocus(edit);
        testing::TypeText("a\nb");
        testing::RunUntilIdle();
        EXPECT_EQ(c.text, TextOf(edit));
        EXPECT_EQ(static_cast<LRESULT>(c.lines), SendMessageA(edit, EM_GETLINECOUNT, 0, 0));
        DestroyWindow(edit);
    }
}

TEST_F(EditTest, ShiftWithMovesSelectsAndTypingReplaces)
{
    HWND edit = MakeEdit(ES_AUTOHSCROLL, RECT { 10, 10, 210, 30 });
    SetFocus(edit);
    testing::TypeText("hello");
    testing::PressKey(VK_SHIFT);
    testing::TypeKey(VK_LEFT);
    testing::TypeKey(VK_LEFT);
    testing::ReleaseKey(VK_SHIFT);
    testing::RunUntilIdle();
    EXPECT_EQ(std::make_pair(DWORD(3), DWORD(5)), Selection(edit));
    testing::TypeText("p!");
    testing::PressKey(VK_SHIFT);
    testing::TypeKey(VK_HOME);
    testing::ReleaseKey(VK_SHIFT);
    testing::TypeKey(VK_DELETE);
    testing::RunUntilIdle();
    EXPECT_EQ("", TextOf(edit));
}

TEST_F(EditTest, MousePlacesTheCaretDragsAndSelectsWords)
{
    HWND edit = MakeEdit(ES_AUTOHSCROLL, RECT { 10, 10, 210, 30 }, "hello world");
    ClickAt(edit, Extent("hello"));
    EXPECT_EQ(std::make_pair(DWORD(5), DWORD(5)), Selection(edit));
    testing::TypeText(",");
    testing::RunUntilIdle();
    EXPECT_EQ("hello, world", TextOf(edit));

    POINT from = OnScreen(edit, POINT { Extent("h"), 5 });
    POINT to = OnScreen(edit, POINT { Extent("hell"), 5 });
    testing::Drag(from.x, from.y, to.x, to.y);
    testing::RunUntilIdle();
    EXPECT_EQ(std::make_pair(DWORD(1), DWORD(4)), Selection(edit));

    POINT word = OnScreen(edit, POINT { Extent("hello, wo"), 5 });
    testing::DoubleClick(word.x, word.y);
    testing::RunUntilIdle();
    EXPECT_EQ(std::make_pair(DWORD(7), DWORD(12)), Selection(edit));
}

TEST_F(EditTest, ControlsThatMayNotScrollRefuseWhatDoesNotFit)
{
    int lineHeight = 0;
    {
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ previous = SelectObject(dc, font);
        TEXTMETRICA metrics {};
        GetTextMetricsA(dc, &metrics);
        lineHeight = metrics.tmHeight;
        SelectObject(dc, previous);
        DeleteDC(dc);
    }
    struct {
        const char* name;
        DWORD style;
        const char* typed;
        const char* kept;
    } const cases[] = {
        { "single line keeps to its width", 0, "abcabcabc", "abcabc" },
        { "single line scrolls with autohscroll", ES_AUTOHSCROLL, "abcabcabc", "abcabcabc" },
        { "lines keep to the height", ES_MULTILINE | ES_WANTRETURN, "abc\nabc", "abcabc" },
        { "lines scroll with autovscroll", ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL, "abc\nabc", "abc\r\nabc" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HWND edit = MakeEdit(c.style, RECT { 10, 10, 10 + Extent("abcabc") + 1, 10 + lineHeight + 2 });
        SetFocus(edit);
        testing::TypeText(c.typed);
        testing::RunUntilIdle();
        EXPECT_EQ(c.kept, TextOf(edit));
        DestroyWindow(edit);
    }
}

TEST_F(EditTest, CutCopyAndPasteGoThroughTheSystemClipboard)
{
    HWND edit = MakeEdit(ES_AUTOHSCROLL, RECT { 10, 10, 210, 30 }, "hello world");
    SetFocus(edit);
    auto control = [](char key) {
        testing::PressKey(VK_CONTROL);
        testing::TypeKey(static_cast<UINT>(key));
        testing::ReleaseKey(VK_CONTROL);
        testing::RunUntilIdle();
    };
    SendMessageA(edit, EM_SETSEL, 6, 11);
    control('C');
    EXPECT_EQ("world", testing::SystemClipboardText().value_or("none"));
    EXPECT_EQ(0u, CountOf(WM_COMMAND, EN_CHANGE));

    SendMessageA(edit, EM_SETSEL, 0, 6);
    control('X');
    EXPECT_EQ("hello ", testing::SystemClipboardText().value_or("none"));
    EXPECT_EQ("world", TextOf(edit));
    EXPECT_EQ(1u, CountOf(WM_COMMAND, EN_CHANGE));

    ASSERT_TRUE(testing::PutSystemClipboardText("big old \r\nrest"));
    control('V');
    EXPECT_EQ("big old world", TextOf(edit)) << "a single line keeps the first line of a paste";

    // While another window holds the clipboard, a cut keeps its text and leaves no error.
    ASSERT_TRUE(OpenClipboard(parent));
    SetLastError(0);
    SendMessageA(edit, EM_SETSEL, 0, 3);
    control('X');
    EXPECT_EQ("big old world", TextOf(edit));
    EXPECT_EQ(0u, GetLastError());
    CloseClipboard();
}

TEST_F(EditTest, SelectionAndTextMessages)
{
    HWND edit = MakeEdit(ES_MULTILINE, RECT { 10, 10, 210, 110 }, "one\r\ntwo");
    struct {
        const char* name;
        int start;
        int end;
        DWORD selStart;
        DWORD selEnd;
    } const cases[] = {
        { "select all clamps its end", 0, 0x7FFF, 0, 8 },
        { "reversed", 6, 1, 1, 6 },
        { "to the end", 2, -1, 2, 8 },
        { "inside CR LF steps back", 4, 4, 3, 3 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SendMessageA(edit, EM_SETSEL, static_cast<WPARAM>(c.start), c.end);
        EXPECT_EQ(std::make_pair(c.selStart, c.selEnd), Selection(edit));
    }
    SendMessageA(edit, EM_SETSEL, 0, 3);
    EXPECT_EQ(MAKELRESULT(0, 3), SendMessageA(edit, EM_GETSEL, 0, 0));
    SendMessageA(edit, EM_SETSEL, static_cast<WPARAM>(-1), 0);
    EXPECT_EQ(Selection(edit).first, Selection(edit).second) << "-1 removes the selection";
    EXPECT_EQ(1, SendMessageA(edit, EM_LINEFROMCHAR, 5, 0));
    SendMessageA(edit, EM_SETSEL, 1, 6);
    EXPECT_EQ(3, SendMessageA(edit, EM_LINELENGTH, static_cast<WPARAM>(-1), 0)) << "unselected on the lines";
    SendMessageA(edit, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>("X"));
    EXPECT_EQ("oXwo", TextOf(edit));

    char small[4];
    EXPECT_EQ(3, SendMessageA(edit, WM_GETTEXT, sizeof small, reinterpret_cast<LPARAM>(small)));
    EXPECT_STREQ("oXw", small);
    EXPECT_EQ(4, SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0));
}

} // namespace

} // namespace pw::platform::tests
