#include "foundation/Resources.h"

#include "Failure.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Compose(const Resources& set, int32_t number, const char* a = nullptr, const char* b = nullptr,
    const char* c = nullptr, const char* d = nullptr)
{
    char buffer[256];
    set.GetString(buffer, number, a, b, c, d);
    return buffer;
}

TEST(Resources, FrameworkTextsComposeWithTheirArguments)
{
    Resources framework(128, 200);
    struct Case {
        const char* name;
        int32_t number;
        const char* args[4];
        std::string expected;
    } cases[] = {
        { "four texts", 0, { "a", "b", "c", "d" }, "a b c d" },
        { "system error", 1, { "System Error", "5", "f.cpp", "9" }, "System Error\n  (Error Number 5)\n Found in: f.cpp, line 9" },
        { "assertion", 2, { "x", "f.cpp", "3" }, "Please Report an Error in\n f.cpp, line 3:\n\"x\"" },
        { "no placeholders ignore the texts", 3, { "ignored" }, "Missing a standard Data File. Please reinstall your software." },
        { "save question", 62, { "Page 1" }, "Save  \"Page 1\"  before closing?" },
        { "newer file", 65, {}, "Some data was not read because this file was created by a newer application.  You should upgrade your software to the latest version." },
        { "length mismatch", 67, { "CShow", "2.0", "4" }, "Error while reading a version CShow 2.0.  Read 4 too many bytes." },
        { "missing file", 68, { "Photos" }, "The file I'm reading refers to the file or folder called \"Photos\", which I can't find.  Could you locate it ?" },
        { "old sound", 71, {}, "This sound is in an old format and cannot be read! Please delete the sound and re-add it!" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Compose(framework, c.number, c.args[0], c.args[1], c.args[2], c.args[3]), c.expected);
    }
}

TEST(Resources, NumbersOutsideTheSetOrMissingStringsThrow)
{
    Resources framework(128, 200);
    EXPECT_EQ(Failure([&] { Compose(framework, 73); }), "Resource id not in this set of resources.");
    EXPECT_EQ(Failure([&] { Compose(framework, -1); }), "Resource id not in this set of resources.");
    EXPECT_EQ(Failure([&] { Compose(framework, 4); }), "String Resource Missing 132");
    EXPECT_EQ(Failure([&] { Compose(Resources(400, 499), 0); }), "String Resource Missing 400");
}

TEST(Resources, ComposingLeavesThePendingSystemErrorAlone)
{
    Resources framework(128, 200);
    SetLastError(5);
    Compose(framework, 0, std::string(300, 'x').c_str());
    EXPECT_EQ(GetLastError(), 5u);
    SetLastError(0);
}

} // namespace
