#include "net/SMTPReplyReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using pw::net::SMTPReplyReader;

namespace {

// Each reply the bytes hold, read afresh as the mail worker reads one per command: "code line",
// "-1 line" for a line that is no reply, "!" for a reply past its size, after which nothing is read.
std::vector<std::string> Replies(const std::string& bytes, size_t maxReply = SMTPReplyReader::kMaxReplyBytes)
{
    std::vector<std::string> replies;
    SMTPReplyReader reader(SMTPReplyReader::kMaxLine, maxReply);
    for (char byte : bytes) {
        SMTPReplyReader::Result result = reader.Take(byte);
        if (result == SMTPReplyReader::kTooLong) {
            replies.push_back("!");
            break;
        }
        if (result == SMTPReplyReader::kPartial)
            continue;
        int code = result == SMTPReplyReader::kReply ? reader.Code() : -1;
        replies.push_back(std::to_string(code) + " " + reader.Line());
        reader = SMTPReplyReader(SMTPReplyReader::kMaxLine, maxReply);
    }
    return replies;
}

} // namespace

TEST(SMTPReplyReader, GivesTheCodeOfTheLastLineOrNoReply)
{
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<std::string> replies;
    } cases[] = {
        { "greeting", "220 mail ready\r\n", { "220 220 mail ready" } },
        { "multi-line", "250-mail Hello\r\n250-SIZE 100\r\n250 HELP\r\n221 Bye\n",
            { "250 250 HELP", "221 221 Bye" } },
        { "a bare code", "354\r\n", { "354 354" } },
        { "the last line's code counts", "250-a\r\n550 no\r\n", { "550 550 no" } },
        { "too short, no code or empty", "25\r\n2x0 no\r\n\r\nhello-there\r\n",
            { "-1 25", "-1 2x0 no", "-1 ", "-1 hello-there" } },
        { "one CR dropped", "250 ok\r\r\n", { "250 250 ok\r" } },
        { "a line not yet ended is no reply yet", "250-first\r\n250 sec", {} },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Replies(c.bytes), c.replies);
    }
}

TEST(SMTPReplyReader, KeepsTheStartOfALongLineAndFailsAReplyPastItsSize)
{
    EXPECT_EQ(Replies("250 " + std::string(2000, 'o') + "\r\n"), std::vector<std::string> { "250 250 " + std::string(1020, 'o') });
    // A reply may take exactly its size; the next reply counts afresh.
    std::string full = "250-" + std::string(SMTPReplyReader::kMaxReplyBytes - 14, 'z') + "\r\n250 ok\r\n";
    ASSERT_EQ(full.size(), SMTPReplyReader::kMaxReplyBytes);
    EXPECT_EQ(Replies(full + "221 bye\r\n"), (std::vector<std::string> { "250 250 ok", "221 221 bye" }));
    EXPECT_EQ(Replies("250-z" + full.substr(4)), std::vector<std::string> { "!" });
    EXPECT_EQ(Replies("250-and more\r\n250-and more\r\n", 20), std::vector<std::string> { "!" });
}
