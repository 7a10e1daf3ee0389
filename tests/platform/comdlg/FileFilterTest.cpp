#include "platform/comdlg/FileFilter.h"

#include <gtest/gtest.h>

namespace pw::platform::tests {

namespace {

TEST(FileFilter, ParsesPairsUpToTheEmptyString)
{
    struct Case {
        const char* name;
        const char* filter;
        std::vector<FilterPair> expected;
    };
    const Case cases[] = {
        { "two pairs", "Bitmaps (*.bmp)\0*.bmp;*.dib\0All Files (*.*)\0*.*\0\0",
            { { "Bitmaps (*.bmp)", "*.bmp;*.dib" }, { "All Files (*.*)", "*.*" } } },
        { "one pair", "Wave Files (*.wav)\0*.wav\0\0", { { "Wave Files (*.wav)", "*.wav" } } },
        { "a name without its pattern ends the list", "Pages\0*.htm\0Orphan\0\0", { { "Pages", "*.htm" } } },
        { "empty", "\0\0", {} },
        { "null", nullptr, {} },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FileFilter::Parse(c.filter), c.expected);
    }
}

TEST(FileFilter, MatchesPatternsWithoutRegardToCase)
{
    struct Case {
        const char* patterns;
        const char* file;
        bool expected;
    };
    const Case cases[] = {
        { "*.bmp", "picture.bmp", true },
        { "*.bmp", "PICTURE.BMP", true },
        { "*.bmp", "picture.bmp.txt", false },
        { "*.bmp", "bmp", false },
        { "*.bmp;*.dib", "x.DIB", true },
        { "*.bmp; *.dib", "x.dib", true },
        { "*.*", "README", true },
        { "*.*", "a.b.c", true },
        { "*", "anything.at.all", true },
        { "index.*", "index", true },
        { "index.*", "index.htm", true },
        { "?.wav", "a.wav", true },
        { "?.wav", "ab.wav", false },
        { "a*b*c", "aXXbYYc", true },
        { "a*b*c", "aXXbYYcZ", false },
        { "", "x", false },
        { ";;", "x", false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.patterns) + " against " + c.file);
        EXPECT_EQ(FileFilter::Matches(c.patterns, c.file), c.expected);
    }
}

} // namespace

} // namespace pw::platform::tests
