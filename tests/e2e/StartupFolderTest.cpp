// The run command's preparation of the start-up folder (scripts/prepare-startup-folder), run as the
// run command runs it, on a small shipped tree: what the child or the program wrote survives every
// later start, and shipped files nobody changed are brought up to date.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

void Write(const fs::path& path, const std::string& bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string Read(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return "(missing)";
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void Prepare(const fs::path& data, const fs::path& home)
{
    std::string command = "'" PW_SOURCE_DIR "/scripts/prepare-startup-folder' '" + data.string() + "' '" + home.string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

TEST(StartupFolder, KeepsWhatTheChildAndTheProgramWroteAcrossStarts)
{
    fs::path root = fs::path(PW_E2E_OUTPUT) / "startup-folder";
    fs::remove_all(root);
    fs::path data = root / "data";
    fs::path home = root / "home";
    // A saved page holds bytes of every value, line ends among them.
    std::string page("MVI \0\r\n\x1A\xFF page", 14);
    Write(data / "Data" / "1020.bmp", "tools v1");
    Write(data / "Data" / "standard.pal", "palette");
    Write(data / "Projects" / "Sample.mvi", "shipped sample v1");
    Write(data / "HTML" / ".keep", "");
    // Media pages are named for the child, spaces and all.
    Write(data / "Samples" / "Under the Sea.mvi", "sea v1");

    Prepare(data, home);
    EXPECT_EQ(Read(home / "Projects" / "Sample.mvi"), "shipped sample v1");
    EXPECT_TRUE(fs::is_directory(home / "HTML"));
    EXPECT_FALSE(fs::exists(home / "HTML" / ".keep"));

    // The child edits and saves the sample page and a page of its own; the program writes a
    // picture under a shipped name. Then a newer build ships new versions and a new file.
    Write(home / "Projects" / "Sample.mvi", page);
    Write(home / "Projects" / "Mine.mvi", "mine");
    Write(home / "Data" / "standard.pal", "the program's palette");
    Write(data / "Projects" / "Sample.mvi", "shipped sample v2");
    Write(data / "Data" / "1020.bmp", "tools v2");
    Write(data / "Data" / "1021.bmp", "selected tools");
    Write(data / "Data" / "standard.pal", "palette v2");
    Write(data / "Samples" / "Under the Sea.mvi", "sea v2");

    for (int start = 1; start <= 2; ++start) {
        SCOPED_TRACE("start " + std::to_string(start));
        Prepare(data, home);
        struct Case {
            const char* path;
            std::string expected;
        };
        const Case cases[] = {
            { "Projects/Sample.mvi", page },
            { "Projects/Mine.mvi", "mine" },
            { "Data/standard.pal", "the program's palette" },
            { "Data/1020.bmp", "tools v2" },
            { "Data/1021.bmp", "selected tools" },
            { "Samples/Under the Sea.mvi", "sea v2" },
        };
        for (const Case& c : cases)
            EXPECT_EQ(Read(home / c.path), c.expected) << c.path;
    }
}

} // namespace
