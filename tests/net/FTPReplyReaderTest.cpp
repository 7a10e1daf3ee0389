#include "net/FTPReplyReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using pw::net::FTPReplyReader;

namespace {

// The replies the bytes hold, each as the connection gets it; "!" marks a reply past its size,
// after which nothing is read. Every byte goes in alone, as the slowest server sends.
std::vector<std::string> Replies(const std::string& bytes, FTPReplyReader reader = FTPReplyReader())
{
    std::vector<std::string> replies;
    for (char byte : bytes) {
        FTPReplyReader::Result result = reader.Take(byte);
        if (result == FTPReplyReader::kTooLong) {
            replies.push_back("!");
            break;
        }
        std::string line = result == FTPReplyReader::kLine ? reader.TakeLine() : std::string();
        if (result == FTPReplyReader::kLine && reader.EndsReply(line))
            replies.push_back(line);
    }
    return replies;
}

} // namespace

TEST(FTPReplyReader, GroupsTheLinesOfMultiLineRepliesAndDropsLineEnds)
{
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<std::string> replies;
    } cases[] = {
        { "one line each", "220 ready\r\n331 password\n", { "220 ready", "331 password" } },
        { "multi-line greeting", "220-Welcome\r\n220-Uploads\r\n220 Ready\r\n", { "220 Ready" } },
        { "inner lines may look like replies", "214-help\r\n200 not the end\r\n 214 nor this\r\n214 end\r\n",
            { "214 end" } },
        { "another code does not end it", "230-a\r\n231 b\r\n230-c\r\n230 d\r\n", { "230 d" } },
        { "empty and blank-led lines are passed over", "\r\n\n 220 text\r\n221 bye\r\n", { "221 bye" } },
        { "so are lines no reply begins with", "Welcome\r\n600 no\r\nabc-\r\n-220\r\n220 ready\r\n5\r\n",
            { "220 ready", "5" } },
        { "a line not yet ended is no reply", "220 ready\r\n226 Transfer comp", { "220 ready" } },
        { "a CR alone does not end a line", "220 a\r221 b\r\n", { "220 a\r221 b" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Replies(c.bytes), c.replies);
    }
}

TEST(FTPReplyReader, KeepsTheStartOfALongLineAndCountsEveryByteOfAReply)
{
    EXPECT_EQ(Replies("220 " + std::string(5000, 'x') + "\r\n"), std::vector<std::string> { "220 " + std::string(4092, 'x') });

    // A reply may take exactly its size; the next reply counts afresh.
    std::string full = "220-" + std::string(FTPReplyReader::kMaxReplyBytes - 13, 'y') + "\r\n220 ok\n";
    ASSERT_EQ(full.size(), FTPReplyReader::kMaxReplyBytes);
    EXPECT_EQ(Replies(full + "221 bye\r\n"), (std::vector<std::string> { "220 ok", "221 bye" }));
    EXPECT_EQ(Replies(full.substr(0, full.size() - 1) + "X\n221 bye\r\n"), std::vector<std::string> { "!" });
    EXPECT_EQ(Replies("230-a\r\n230-b\r\n230 c\r\n", FTPReplyReader(100, 15)), std::vector<std::string> { "!" });
    // Noise counts toward the reply it comes before: endless noise is an endless reply.
    EXPECT_EQ(Replies("hello\r\nhello\r\nhello\r\n", FTPReplyReader(100, 20)), std::vector<std::string> { "!" });
}
