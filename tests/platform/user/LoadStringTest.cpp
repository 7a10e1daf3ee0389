#include <windows.h>

#include <gtest/gtest.h>

#include "platform/backend/Backend.h"
#include "platform/user/StringTable.h"

#include <cstring>
#include <string>

namespace pw::platform::tests {

namespace {

const StringTableEntry kStrings[] = {
    { 5, 5, "Hello" },
    { 7, 0, "" },
    { 666, 13, "Line\r\nTwo \xC9nd" },
};

TEST(LoadString, CopiesAtMostSizeMinusOneCharactersAndANul)
{
    UseStringsForTesting(kStrings);
    struct Case {
        UINT id;
        int size;
        int result;
        const char* text;
        DWORD error;
    };
    for (Case c : {
             Case { 5, 256, 5, "Hello", 0 },
             Case { 5, 6, 5, "Hello", 0 },
             Case { 5, 5, 4, "Hell", 0 },
             Case { 5, 1, 0, "", 0 },
             Case { 666, 256, 13, "Line\r\nTwo \xC9nd", 0 },
             Case { 7, 256, 0, "", 1814 },
             Case { 6, 256, 0, "", 1814 },
             Case { 70000, 256, 0, "", 1814 },
         }) {
        SCOPED_TRACE(std::to_string(c.id) + " into " + std::to_string(c.size));
        char buffer[256];
        std::memset(buffer, 'x', sizeof buffer);
        SetLastError(0);
        EXPECT_EQ(LoadStringA(nullptr, c.id, buffer, c.size), c.result);
        EXPECT_STREQ(buffer, c.text);
        EXPECT_EQ(GetLastError(), c.error);
    }
}

TEST(LoadString, NamesTheProgramByNullOrItsInstanceOnly)
{
    UseStringsForTesting(kStrings);
    char buffer[16];
    EXPECT_EQ(LoadStringA(ProgramInstance(), 5, buffer, sizeof buffer), 5);
    int other = 0;
    SetLastError(0);
    EXPECT_EQ(LoadStringA(reinterpret_cast<HINSTANCE>(&other), 5, buffer, sizeof buffer), 0);
    EXPECT_EQ(GetLastError(), 6u);
    SetLastError(0);
    EXPECT_EQ(LoadStringA(nullptr, 5, nullptr, 16), 0);
    EXPECT_EQ(GetLastError(), 87u);
}

TEST(LoadString, TheCompiledTableIsSortedUniqueAndMeasured)
{
    auto strings = ProgramStrings();
    for (size_t i = 0; i < strings.size(); ++i) {
        SCOPED_TRACE(strings[i].id);
        if (i > 0) {
            EXPECT_LT(strings[i - 1].id, strings[i].id);
        }
        EXPECT_EQ(std::strlen(strings[i].text), strings[i].length);
        EXPECT_LE(strings[i].id, 0xFFFFu);
    }
}

} // namespace

} // namespace pw::platform::tests
