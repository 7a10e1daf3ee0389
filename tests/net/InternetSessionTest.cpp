#include "net/InternetSession.h"

#include <gtest/gtest.h>

using pw::foundation::TextOf;

TEST(InternetSession, URLsSplitIntoHostAndPath)
{
    struct Case {
        const char* url;
        const char* host;
        const char* path;
    } cases[] = {
        { "ftp://host.example/kids/site", "host.example", "/kids/site" },
        { "host.example/site", "host.example", "/site" },
        { "host.example", "host.example", "/" },
        { "ftp://host.example", "host.example", "/" },
        { "ftp://host.example/", "host.example", "/" },
        { "h//a/b", "h", "/a/b" },
        { "ftp://h//a//b", "h", "/a//b" },
        // A port stays out of the host, with or without a scheme in front.
        { "ftp://host.example:21/x", "host.example", "/x" },
        { "host.example:21/x", "host.example", "/x" },
        { "host.example:2121", "host.example", "/" },
        { "", "", "/" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url);
        EXPECT_EQ(TextOf(InternetSession::HostFromURL(String(c.url))), c.host);
        EXPECT_EQ(TextOf(InternetSession::PathFromURL(String(c.url))), c.path);
    }
}
