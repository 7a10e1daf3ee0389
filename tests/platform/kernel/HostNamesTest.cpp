// Names with letters beyond ASCII on the host's disk: the program's paths are in its code page,
// the disk's names in UTF-8, and names stored in the code page before still work.
#include "platform/kernel/CodePage.h"

#include <gtest/gtest.h>
#include <mmsystem.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/kernel/KernelTestSupport.h"

using namespace pw::platform;
using namespace pw::platform::testing;

namespace {

// "Zoé", "Müß" and "Straße" in the program's code page and in UTF-8.
constexpr const char* kZoe = "Zo\xE9";
constexpr const char* kZoeUtf8 = "Zo\xC3\xA9";
constexpr const char* kMuss = "M\xFC\xDF";
constexpr const char* kMussUtf8 = "M\xC3\xBC\xC3\x9F";
constexpr const char* kStrasse = "Stra\xDF"
                                 "e";
constexpr const char* kStrasseUtf8 = "Stra\xC3\x9F"
                                     "e";

std::string In(const char* folder, const std::string& name)
{
    return std::string("c:\\") + folder + "\\" + name;
}

// Every name a search of the pattern yields, "." and ".." left out.
std::vector<std::string> List(const std::string& pattern)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA(pattern.c_str(), &data);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (data.cFileName[0] != '.')
            names.push_back(data.cFileName);
    } while (FindNextFileA(search, &data));
    FindClose(search);
    return names;
}

std::vector<std::string> HostNames(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(HostPath(folder)))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string ReadAll(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, 3, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "(not opened)";
    char bytes[64];
    DWORD got = 0;
    ReadFile(file, bytes, sizeof bytes, &got, nullptr);
    CloseHandle(file);
    return std::string(bytes, got);
}

bool WriteAll(const std::string& path, const std::string& bytes, DWORD disposition = OPEN_ALWAYS)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 3, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD put = 0;
    BOOL written = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
    SetEndOfFile(file);
    CloseHandle(file);
    return written;
}

} // namespace

// What each call that takes a path writes lands on the disk under the UTF-8 name, and every call
// finds it again under the program's name, in any ASCII case.
TEST(HostNames, EveryPathCallWritesAndFindsNamesInUtf8)
{
    ASSERT_TRUE(CreateDirectoryA(In(kZoe, "").c_str(), nullptr));
    ASSERT_TRUE(WriteAll(In("zo\xE9", std::string(kMuss) + ".mvi"), "page"));
    EXPECT_EQ(HostNames(""), (std::vector<std::string> { kZoeUtf8 }));
    EXPECT_EQ(HostNames(kZoeUtf8), (std::vector<std::string> { std::string(kMussUtf8) + ".mvi" }));

    EXPECT_EQ(GetFileAttributesA(In("ZO\xE9", std::string(kMuss) + ".MVI").c_str()), DWORD(FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(ReadAll(In(kZoe, std::string(kMuss) + ".mvi")), "page");
    EXPECT_EQ(List(In(kZoe, "*\xFC*")), (std::vector<std::string> { std::string(kMuss) + ".mvi" }));
    ASSERT_TRUE(MoveFileExA(In(kZoe, std::string(kMuss) + ".mvi").c_str(),
        In(kZoe, std::string(kStrasse) + ".mvi").c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(HostNames(kZoeUtf8), (std::vector<std::string> { std::string(kStrasseUtf8) + ".mvi" }));

    // The current folder reads back in the code page, and relative names resolve in it.
    ASSERT_TRUE(SetCurrentDirectoryA(In("zo\xE9", "").c_str()));
    char current[MAX_PATH] = "";
    ASSERT_EQ(GetCurrentDirectoryA(MAX_PATH, current), 6u);
    EXPECT_STREQ(current, "c:\\Zo\xE9");
    char temporary[MAX_PATH] = "";
    ASSERT_NE(GetTempFileNameA(".", "wr", 0, temporary), 0u);
    EXPECT_TRUE(std::filesystem::exists(HostPath(std::string(kZoeUtf8) + "/" + std::string(temporary).substr(2))));

    // A recording saved through the multimedia files lands beside them.
    std::string wave = std::string(kMuss) + ".wav";
    HMMIO mmio = mmioOpenA(wave.data(), nullptr, MMIO_CREATE | MMIO_READWRITE | MMIO_ALLOCBUF);
    ASSERT_NE(mmio, nullptr);
    mmioClose(mmio, 0);
    EXPECT_TRUE(std::filesystem::exists(HostPath(std::string(kZoeUtf8) + "/" + kMussUtf8 + ".wav")));
    EXPECT_TRUE(DeleteFileA(In(kZoe, wave).c_str()));
    EXPECT_FALSE(std::filesystem::exists(HostPath(std::string(kZoeUtf8) + "/" + kMussUtf8 + ".wav")));
}

// A site made before names were written in UTF-8 keeps its names in the code page: they still open,
// list once and save in place, and where both spellings lie side by side the UTF-8 one is found.
TEST(HostNames, NamesStoredInTheCodePageStillOpenListAndSave)
{
    MakeHostFile(std::string(kZoe) + "/" + kMuss + ".mvi", "old page");
    MakeHostFile(std::string(kZoe) + "/Home.mvi", "home");
    std::string page = In(kZoe, std::string(kMuss) + ".mvi");
    EXPECT_EQ(ReadAll(page), "old page");
    EXPECT_EQ(List(In(kZoe, "*.mvi")), (std::vector<std::string> { "Home.mvi", std::string(kMuss) + ".mvi" }));

    // Saving writes a fresh file and moves it over the page: the page keeps its stored name.
    ASSERT_TRUE(WriteAll(In(kZoe, "save.tmp"), "new page"));
    ASSERT_TRUE(MoveFileExA(In(kZoe, "save.tmp").c_str(), page.c_str(), MOVEFILE_REPLACE_EXISTING));
    SetLastError(0);
    HANDLE again = CreateFileA(page.c_str(), GENERIC_READ, 3, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ALREADY_EXISTS)) << "the stored page, not a new one";
    CloseHandle(again);
    EXPECT_EQ(HostNames(kZoe), (std::vector<std::string> { "Home.mvi", std::string(kMuss) + ".mvi" }));
    EXPECT_EQ(ReadAll(page), "new page");

    ASSERT_TRUE(SetCurrentDirectoryA(In(kZoe, "").c_str()));
    char current[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, current);
    EXPECT_STREQ(current, "c:\\Zo\xE9");

    MakeHostFile(std::string(kZoe) + "/" + kMussUtf8 + ".mvi", "utf-8 page");
    EXPECT_EQ(ReadAll(page), "utf-8 page");
    EXPECT_TRUE(DeleteFileA(page.c_str()));
    EXPECT_EQ(ReadAll(page), "new page");
}

// Each program name has one spelling on the disk and reads back unchanged; a host name that is
// no UTF-8 of the code page's letters reads as its bytes and opens by them.
TEST(HostNames, NamesConvertBothWaysAndForeignNamesOpenByTheirBytes)
{
    struct Case {
        const char* program;
        const char* host;
    } const spelled[] = {
        { "Zo\xE9 M\xFC\xDF", "Zo\xC3\xA9 M\xC3\xBC\xC3\x9F" },
        { "\x80 \x9F \xFF", "\xE2\x82\xAC \xC5\xB8 \xC3\xBF" },
        { "undefined \x81\x8D\x8F\x90\x9D", "undefined \xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D" },
    };
    for (const Case& c : spelled) {
        SCOPED_TRACE(c.program);
        EXPECT_EQ(HostNameOf(c.program), c.host);
        EXPECT_EQ(ProgramNameOf(c.host), c.program);
    }
    const char* const asBytes[] = {
        "Zo\xE9",               // stored in the code page
        "\xE6\x97\xA5.txt",     // a letter the code page lacks
        "e\xCC\x81",            // an accent the code page has only on its letter
        "\xC1\xA1",             // an overlong "a"
        "\xED\xA0\x80",         // a surrogate
        "\xC3",                 // cut short
    };
    for (const char* host : asBytes) {
        SCOPED_TRACE(host);
        EXPECT_EQ(ProgramNameOf(host), host);
    }

    MakeHostFile("Foreign/\xE6\x97\xA5.txt", "sun");
    EXPECT_EQ(List("c:\\foreign\\*.txt"), (std::vector<std::string> { "\xE6\x97\xA5.txt" }));
    EXPECT_EQ(ReadAll("c:\\FOREIGN\\\xE6\x97\xA5.TXT"), "sun");
}
