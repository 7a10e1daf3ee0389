#include "app/SettingsStore.h"

#include "foundation/FileReference.h"
#include "foundation/String.h"

#include "foundation/Failure.h"
#include "platform/kernel/KernelTestSupport.h"
#include "platform/kernel/KernelTesting.h"

#include <gtest/gtest.h>

#include <string>

namespace {

namespace host = pw::platform::testing;

class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        pw::foundation::ForgetStartupFolder();
        ASSERT_TRUE(pw::platform::testing::SetStartupFolder("c:\\Start"));
    }

    static String Of(const std::string& bytes)
    {
        String text;
        text.InsertChars(bytes.data(), 0, static_cast<uint32_t>(bytes.size()));
        return text;
    }

    // What ReadSetting answers and leaves in a value that held "before".
    static std::pair<bool, std::string> Read(int16_t number)
    {
        String value("before");
        bool read = ReadSetting(number, value);
        return { read, Bytes(value) };
    }

    static std::string Bytes(const String& value)
    {
        uint32_t length = 0;
        String::CharIterator chars(value, length);
        return length ? std::string(chars.Chars(), length) : std::string();
    }
};

TEST_F(SettingsStoreTest, WithoutTheDataFolderReadsAnswerFalseAndWritesRaise)
{
    for (int16_t number : { 1000, 1001, 2000, 3002 }) {
        SCOPED_TRACE(number);
        EXPECT_EQ(Read(number), std::make_pair(false, std::string("before")));
        EXPECT_NE(Failure([&] { WriteSetting(number, String("ftp://example.test")); }), "");
    }
    EXPECT_FALSE(host::HostExists("Start/Data")) << "the store never makes the folder";
    EXPECT_EQ(GetLastError(), 0u) << "a failed read leaves no error behind";
}

TEST_F(SettingsStoreTest, EachSettingIsTheWholeContentOfItsNumberedFile)
{
    struct Case {
        const char* name;
        int16_t number;
        const char* file;
        std::string content;
    } cases[] = {
        { "the server URL keeps its line break", 1000, "1000.txt", "ftp://example.test/site\r\n" },
        { "an empty file is an empty value", 1001, "1001.txt", "" },
        { "the prompt, several lines", 2000, "2000.txt", "Line one\nLine two\n" },
        { "the mail server", 3002, "3002.txt", "mail.example.test" },
        { "zero bytes are kept", 3000, "3000.txt", std::string("a\0b", 3) },
        { "a negative number", -5, "-5.txt", "minus" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        host::MakeHostFile(std::string("Start/Data/") + c.file, c.content);
        EXPECT_EQ(Read(c.number), std::make_pair(true, c.content));
    }
    EXPECT_EQ(Read(1002), std::make_pair(false, std::string("before"))) << "a missing file";
}

TEST_F(SettingsStoreTest, WritingStoresExactlyTheValueAndCutsWhatALongerOneLeft)
{
    host::MakeHostFolder("Start/Data");
    struct Step {
        const char* name;
        std::string value;
    } steps[] = {
        { "a new file", "ftp://a-rather-long-server-name.example.test/users/kid/public_html" },
        { "a shorter value over it", "ftp://short.test" },
        { "line ends are stored as given, none added", "kid\r\n" },
        { "an empty value empties the file", "" },
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        WriteSetting(1000, Of(step.value));
        EXPECT_EQ(host::ReadHostFile("Start/Data/1000.txt"), step.value);
        EXPECT_EQ(Read(1000), std::make_pair(true, step.value));
    }
    // The start-up folder is kept: a later change of the current folder does not move the store.
    host::MakeHostFolder("Elsewhere");
    FileReference elsewhere("c:\\Elsewhere");
    FileReference::SetAsCurrentDirectory(elsewhere);
    WriteSetting(1001, String("kid"));
    EXPECT_EQ(host::ReadHostFile("Start/Data/1001.txt"), "kid");
    EXPECT_FALSE(host::HostExists("Elsewhere/Data"));
}

TEST_F(SettingsStoreTest, OneLineSettingsLoseTheLineEndsAFileEndsWith)
{
    struct Case {
        std::string content;
        std::string value;
    } cases[] = {
        { "mail.example.test\r\n", "mail.example.test" },
        { "mail.example.test\n\n", "mail.example.test" },
        { "mail.example.test\r", "mail.example.test" },
        { "two\nlines\n", "two\nlines" },
        { "\r\n", "" },
        { "", "" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.content);
        host::MakeHostFile("Start/Data/3002.txt", c.content);
        String value("before");
        EXPECT_TRUE(pw::app::ReadLineSetting(3002, value));
        EXPECT_EQ(Bytes(value), c.value);
    }
    String value("default");
    EXPECT_FALSE(pw::app::ReadLineSetting(3001, value));
    EXPECT_EQ(Bytes(value), "default");
}

} // namespace
