#include "stringtable/StringSource.h"

#include <gtest/gtest.h>

namespace pw::tools {

namespace {

TEST(StringSource, EscapesBecomeTheirBytes)
{
    struct Case {
        const char* line;
        uint32_t id;
        std::string text;
    };
    for (const Case& c : {
             Case { R"(128 "plain text")", 128, "plain text" },
             Case { R"(1 "a\nb\rc\td")", 1, "a\nb\rc\td" },
             Case { R"(2 "quote \" and backslash \\")", 2, "quote \" and backslash \\" },
             Case { R"(3 "\xC9t\xe9 \x41")", 3, "\xC9t\xE9 A" },
             Case { R"(4 "\\x41 is not an escape")", 4, "\\x41 is not an escape" },
             Case { "5\t\"tab before\"  # trailing comment", 5, "tab before" },
             Case { "  65535 \"\"\r", 65535, "" },
             Case { "6 \"raw\ttab\"", 6, "raw\ttab" },
         }) {
        SCOPED_TRACE(c.line);
        ParsedStringSource parsed = ParseStringSource(c.line);
        ASSERT_TRUE(parsed.errors.empty()) << parsed.errors[0].message;
        ASSERT_EQ(parsed.entries.size(), 1u);
        EXPECT_EQ(parsed.entries[0].id, c.id);
        EXPECT_EQ(parsed.entries[0].text, c.text);
    }
}

TEST(StringSource, MalformedLinesAreErrorsWithTheirLineNumbers)
{
    for (const char* line : {
             R"("no id")",
             R"(12"no blank")",
             R"(12 no quotes)",
             R"(12 "unterminated)",
             R"(12 "ends in a backslash\)",
             R"(12 "bad \q escape")",
             R"(12 "short \x4")",
             R"(12 "not hex \xG1")",
             R"(12 "nul \x00")",
             R"(12 "text" trailing)",
             R"(65536 "too big")",
             R"(99999999999999999999 "overflow")",
             "12 \"raw \xC9 byte\"",
             "12 \"raw \x01 control\"",
             "-1 \"negative\"",
         }) {
        SCOPED_TRACE(line);
        ParsedStringSource parsed = ParseStringSource(std::string("# comment\n\n") + line + "\n7 \"fine\"\n");
        ASSERT_EQ(parsed.errors.size(), 1u);
        EXPECT_EQ(parsed.errors[0].line, 3);
        ASSERT_EQ(parsed.entries.size(), 1u);
        EXPECT_EQ(parsed.entries[0].id, 7u);
    }
}

TEST(StringSource, DuplicateIdsAreErrors)
{
    ParsedStringSource parsed = ParseStringSource("1 \"a\"\n2 \"b\"\n1 \"c\"\n");
    ASSERT_EQ(parsed.errors.size(), 1u);
    EXPECT_EQ(parsed.errors[0].line, 3);
    EXPECT_NE(parsed.errors[0].message.find("line 1"), std::string::npos);
    EXPECT_EQ(parsed.entries.size(), 2u);
}

TEST(StringSource, GeneratedLiteralsEscapeEveryByteThatIsNotPlainText)
{
    std::vector<StringSourceEntry> entries {
        { 1, "A\"B\\C", 1 },
        { 2, "\n\xC9" "7", 2 },
    };
    std::string source = GenerateStringTable(entries);
    // Octal escapes are always three digits, so the digit after one stays a character of its own.
    EXPECT_NE(source.find(R"({ 1, 5, "A\042B\134C" })"), std::string::npos) << source;
    EXPECT_NE(source.find(R"({ 2, 3, "\012\3117" })"), std::string::npos) << source;
    EXPECT_NE(GenerateStringTable({}).find("return {};"), std::string::npos);
}

} // namespace

} // namespace pw::tools
