// Feeds arbitrary bytes to the Windows path mapper, as a path and as a search pattern's folder:
// it must never crash, whatever it maps must stay inside the drive root, and every name it maps
// must have the host spelling that reads back as it.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/kernel/CodePage.h"
#include "platform/kernel/KernelTesting.h"
#include "platform/kernel/PathMapper.h"

namespace {

using pw::platform::MappedPath;
using pw::platform::PathMapper;

// A small drive under a private temporary folder, made on first use and removed at exit: a few
// folders and files give the case-insensitive lookups something to find, one named in UTF-8 and
// one in the code page ("Zoé" both).
class FuzzDrive {
public:
    FuzzDrive()
    {
        root = (std::filesystem::temp_directory_path() / "pw-fuzz-XXXXXX").string();
        if (mkdtemp(root.data()) == nullptr)
            std::abort();
        std::filesystem::create_directories(root + "/Data/Sub");
        std::filesystem::create_directories(root + "/Projects/Zo\xC3\xA9");
        std::filesystem::create_directories(root + "/Data/Zo\xE9");
        std::fclose(std::fopen((root + "/Data/File.txt").c_str(), "w"));
        pw::platform::testing::SetDriveRoot(root);
    }
    ~FuzzDrive()
    {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }

    std::string root;
};

const std::string& DriveRoot()
{
    static FuzzDrive drive;
    return drive.root;
}

void CheckInside(const MappedPath& mapped, const std::string& root)
{
    if (mapped.error != 0)
        return;
    bool inside = mapped.hostPath == root || mapped.hostPath.compare(0, root.size() + 1, root + "/") == 0;
    for (const std::string& name : mapped.components) {
        if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos)
            inside = false;
        if (pw::platform::ProgramNameOf(pw::platform::HostNameOf(name)) != name) {
            std::fprintf(stderr, "a name that does not read back: %s\n", name.c_str());
            std::abort();
        }
    }
    if (!inside || mapped.windowsPath.size() >= 260) {
        std::fprintf(stderr, "mapped outside the drive: %s\n", mapped.hostPath.c_str());
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string& root = DriveRoot();
    // The first byte picks the current folder, so relative paths start at different depths.
    static const char* const folders[] = { "c:\\", "c:\\Data", "c:\\data\\sub", "c:\\Projects" };
    if (size > 0) {
        std::vector<std::string> components;
        PathMapper::Parse(folders[data[0] % 4], components);
        PathMapper::SetCurrentFolder(components);
        ++data;
        --size;
    }
    std::string path(reinterpret_cast<const char*>(data), size);
    CheckInside(PathMapper::Map(path.c_str()), root);
    std::string pattern;
    CheckInside(PathMapper::MapFolderOf(path.c_str(), pattern), root);
    return 0;
}
