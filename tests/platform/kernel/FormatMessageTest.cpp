#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

constexpr DWORD kFlags = FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY;

DWORD Format(const char* text, char (&out)[256], DWORD_PTR a = 0, DWORD_PTR b = 0, DWORD_PTR c = 0, DWORD_PTR d = 0)
{
    DWORD_PTR args[4] = { a, b, c, d };
    return FormatMessageA(kFlags, text, 0, 0, out, 256, reinterpret_cast<va_list*>(args));
}

DWORD_PTR Str(const char* s)
{
    return reinterpret_cast<DWORD_PTR>(s);
}

} // namespace

TEST(FormatMessage, InsertsAndEscapesKeepTheirMeaning)
{
    struct Case {
        const char* text;
        const char* expected;
    } const cases[] = {
        { "%1\n  (Error Number %2)", "Disk full\n  (Error Number 112)" },
        { "%1%2%3|", "Disk full112|" },
        { "line%nnext%rcr%ttab", "line\r\nnext\rcr\ttab" },
        { "100%% % sure%. %!", "100%  sure. !" },
        { "cut here%0 never shown", "cut here" },
        { "%2!s! and %1", "112 and Disk full" },
        { "plain\r\ntext\\n", "plain\r\ntext\\n" },
        { "%4!d!|%4!5u!|%4!04X!", "-1|4294967295|FFFFFFFF" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        char out[256];
        DWORD length = Format(c.text, out, Str("Disk full"), Str("112"), Str(""), static_cast<uint32_t>(-1));
        EXPECT_STREQ(out, c.expected);
        EXPECT_EQ(length, std::string(c.expected).size());
    }
}

TEST(FormatMessage, OutputMustFitWithItsNulIn256)
{
    std::string fits(255, 'x');
    std::string tooLong(256, 'x');
    char out[256];
    EXPECT_EQ(Format(fits.c_str(), out), 255u);
    EXPECT_EQ(out, fits);

    for (const std::string& text : { tooLong, std::string(250, 'y') + "%1" }) {
        SCOPED_TRACE(text.size());
        SetLastError(0);
        out[0] = 'z';
        EXPECT_EQ(Format(text.c_str(), out, Str("123456")), 0u);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
        EXPECT_EQ(out[0], '\0');
    }
    // A "%0" before the limit ends the output in time.
    std::string stopped = fits + "%0" + tooLong;
    EXPECT_EQ(Format(stopped.c_str(), out), 255u);
}

TEST(FormatMessage, UnsupportedRequestsFailWithInvalidParameter)
{
    char out[256];
    DWORD_PTR args[1] = { 0 };
    auto* list = reinterpret_cast<va_list*>(args);
    EXPECT_EQ(FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, 2, 0, out, 256, nullptr), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(FormatMessageA(kFlags, "%1!*s!", 0, 0, out, 256, list), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(FormatMessageA(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_IGNORE_INSERTS, "%1 %2!d! %n", 0, 0, out, 256, nullptr), 11u);
    EXPECT_STREQ(out, "%1 %2!d! \r\n");
}
