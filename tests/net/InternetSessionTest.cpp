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
        // One slash after the scheme, as the shipped default server address is written.
        { "ftp:/ftp.provider.example/users/account/public_html", "ftp.provider.example", "/users/account/public_html" },
        { "ftp:/host.example", "host.example", "/" },
        { "FTP:/127.0.0.1/kids", "127.0.0.1", "/kids" },
        { "ftp:host.example/kids", "host.example", "/kids" },
        // A port stays out of the host, with or without a scheme in front.
        { "ftp://host.example:21/x", "host.example", "/x" },
        { "host.example:21/x", "host.example", "/x" },
        { "host.example:2121", "host.example", "/" },
        { "ftp:/host.example:2121/x", "host.example", "/x" },
        { "127.0.0.1:21/kids", "127.0.0.1", "/kids" },
        { "", "", "/" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url);
        EXPECT_EQ(TextOf(InternetSession::HostFromURL(String(c.url))), c.host);
        EXPECT_EQ(TextOf(InternetSession::PathFromURL(String(c.url))), c.path);
    }
}

// A port written after the host is the one connected to; anything else there leaves the standard.
TEST(InternetSession, PortFromURL)
{
    struct Case {
        const char* url;
        uint16_t port;
    } cases[] = {
        { "ftp://host.example:2121/kids", 2121 },
        { "ftp:/host.example:21/x", 21 },
        { "127.0.0.1:65535", 65535 },
        { "ftp://host.example/kids:2121", 7 },
        { "ftp://host.example/kids", 7 },
        { "ftp://host.example:/kids", 7 },
        { "ftp://host.example:0/kids", 7 },
        { "ftp://host.example:65536/kids", 7 },
        { "ftp://host.example:21a/kids", 7 },
        { "ftp://host.example:-21/kids", 7 },
        { "", 7 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url);
        EXPECT_EQ(InternetSession::PortFromURL(String(c.url), 7), c.port);
    }
}
