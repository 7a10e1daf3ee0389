// Writing an object file: the whole file is first made elsewhere and replaces the target only once
// it is complete.
#include "foundation/ObjectFile.h"

#include "foundation/Checks.h"
#include "foundation/Exception.h"
#include "foundation/File.h"
#include "foundation/FileReference.h"
#include "foundation/MemoryStream.h"
#include "foundation/Persistent.h"
#include "foundation/SystemErrorException.h"
#include "foundation/Utilities.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr const char* kTemporaryPrefix = "obj";

// The names of the temporary files the saves running in this program write (a save may wait in a
// nested loop while another runs), which no other save may take for a leftover.
std::vector<std::string>& RunningSaves()
{
    static std::vector<std::string> names;
    return names;
}

// Exactly the name GetTempFileNameA gives a save's temporary file: the prefix, four upper-case hex
// digits and ".tmp". A child's file that merely looks alike ("objects.tmp") is no such name.
bool IsTemporaryName(const char* name)
{
    if (std::strlen(name) != 11 || std::strncmp(name, kTemporaryPrefix, 3) != 0 || std::strcmp(name + 7, ".tmp") != 0)
        return false;
    return std::all_of(name + 3, name + 7, [](char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); });
}

// Whether the item was last written a minute or more ago; a time ahead of the clock is no age.
bool WrittenLongAgo(const FILETIME& written)
{
    // FILETIME's 100 ns units: a running save writes its file far more often than once a minute.
    constexpr uint64_t kLeftoverAge = 60ULL * 10'000'000;
    SYSTEMTIME clock {};
    GetSystemTime(&clock);
    FILETIME now {};
    if (!SystemTimeToFileTime(&clock, &now))
        return false;
    auto join = [](const FILETIME& time) { return (uint64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime; };
    return join(now) >= join(written) && join(now) - join(written) >= kLeftoverAge;
}

} // namespace

// Where a save is made before it replaces the target: a temporary file in the target's folder when
// the target is a disk file (so that a complete copy is on disk before the target is touched),
// memory otherwise. The temporary file goes when the staging ends unless it became the target.
class ObjectFile::Staging {
public:
    explicit Staging(Stream& target)
    {
        File* file = SmartCast<File>(&target);
        if (!file) {
            staged = new MemoryStream;
            return;
        }
        SmartPtr<FileReference> folder = file->GetFileReference()->Parent();
        RemoveLeftovers(folder->Path());
        char path[MAX_PATH] = {};
        CheckNonZero(GetTempFileNameA(folder->Path(), kTemporaryPrefix, 0, path), PW_HERE);
        temporaryPath = path;
        SmartPtr<FileReference> reference = FileReference::FileReferenceFromPath(path);
        SmartPtr<File> temporary(new File(*reference.Get(), File::kRead | File::kWrite));
        staged = temporary.Get();
        temporary->GetOSFile();
        runningName = pw::foundation::LastComponent(path);
        RunningSaves().push_back(runningName);
    }

    ~Staging()
    {
        staged = nullptr;
        std::vector<std::string>& running = RunningSaves();
        if (auto found = std::find(running.begin(), running.end(), runningName); found != running.end())
            running.erase(found);
        if (temporaryPath.empty())
            return;
        DeleteFileA(temporaryPath.c_str());
        ClearOSError();
    }

    Staging(const Staging&) = delete;
    Staging& operator=(const Staging&) = delete;

    Stream& Get() { return *staged.Get(); }

    // The target becomes the staged bytes. A disk file is replaced in one step by the finished
    // temporary file, so a failure at any point leaves the old file whole; a stream in memory
    // cannot fail half way and takes a copy.
    void Replace(Stream& target, uint32_t length)
    {
        if (File* staged = SmartCast<File>(this->staged.Get())) {
            staged->Flush();
            this->staged = nullptr;
            SmartCast<File>(&target)->ReplaceWith(temporaryPath.c_str());
            temporaryPath.clear();
            return;
        }
        staged->Seek(0, Stream::kFromStart);
        target.Seek(0, Stream::kFromStart);
        std::string block(File::kBufferSize, '\0');
        for (uint32_t done = 0; done < length;) {
            uint32_t count = length - done < File::kBufferSize ? length - done : File::kBufferSize;
            staged->Read(block.data(), count);
            target.Write(block.data(), count);
            done += count;
        }
        target.SetLength(length);
    }

private:
    // A save stopped half way (the program was ended) leaves its temporary file behind; the next
    // save into the folder removes such files. Only what is surely one goes: a name of exactly the
    // temporary files' form that no save of this program is writing, a file that holds nothing or
    // begins as an object file does, and one nothing has written to for a good while, since another
    // copy of the program may be saving into the same folder. A child's file of that name holding
    // anything else stays, and so does a file the folder will not let go of: it harms nothing.
    static void RemoveLeftovers(const char* folder)
    {
        std::string pattern;
        if (!pw::foundation::BuildPath(pattern, folder, "obj*.tmp", 0))
            return;
        WIN32_FIND_DATAA found {};
        HANDLE search = FindFirstFileA(pattern.c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) {
            ClearOSError();
            return;
        }
        const std::vector<std::string>& running = RunningSaves();
        do {
            std::string path;
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !IsTemporaryName(found.cFileName)
                || std::find(running.begin(), running.end(), found.cFileName) != running.end()
                || !WrittenLongAgo(found.ftLastWriteTime)
                || !pw::foundation::BuildPath(path, folder, found.cFileName, 0) || !BeginsAsObjectFile(path.c_str()))
                continue;
            DeleteFileA(path.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
        ClearOSError();
    }

    // Empty, or the object files' magic first: what a save's temporary file holds from its start.
    static bool BeginsAsObjectFile(const char* path)
    {
        HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
            FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        const Header header;
        char start[sizeof header.magic] = {};
        DWORD got = 0;
        bool read = ReadFile(file, start, sizeof start, &got, nullptr);
        CloseHandle(file);
        return read && (got == 0 || (got == sizeof start && std::memcmp(start, header.magic, sizeof start) == 0));
    }

    SmartPtr<Stream> staged;
    std::string temporaryPath;
    // The temporary file's name among the running saves', also once it became the target.
    std::string runningName;
};

// A save of a root that is not persistent, or over a stream that takes no writes, fails before
// anything is written.
void ObjectFile::Write(const SmartPtr<Smart>& object)
{
    Persistent* root = nullptr;
    if (object.Valid()) {
        CheckType(object.Get(), &Persistent::classInfo);
        root = SmartCast<Persistent>(object.Get());
    }
    if (!stream->IsWritable())
        ThrowSystemError(ERROR_ACCESS_DENIED, PW_HERE);
    // A file not there yet is made by the save, once whole; anything else in its place refuses it.
    if (File* file = SmartCast<File>(stream.Get()); file && file->HasItem())
        file->GetOSFile();

    Progress saving(100, "Saving Objects");
    struct Restore {
        ObjectFile& file;
        ~Restore()
        {
            file.guard.SetStream(file.stream.Get());
            file.ClearObjects();
            file.base = 0;
            file.mode = kWriting;
        }
    } restore { *this };
    Staging staging(*stream.Get());
    guard.SetStream(&staging.Get());
    guard.SetGuarding(false);
    WriteGraph(root, saving);
    uint32_t end = guard.GetLength();
    staging.Replace(*stream.Get(), end);
    Rewind();
}

// The file as it is stored: the header and chunk are written first as place holders and again at
// the end, when the table's place and the record sizes are known.
void ObjectFile::WriteGraph(Persistent* root, Progress& saving)
{
    mode = kWriting;
    guard.Seek(0, Stream::kFromStart);
    saving.Advance(1);
    header = Header();
    uint32_t headerStart = guard.GetMark();
    WriteHeader();
    saving.Advance(1);

    format = new Format(typeIndex);
    header.formatOffset = guard.GetMark();
    format->Write(guard);
    uint32_t formatEnd = guard.GetMark();

    ClearObjects();
    header.rootId = IdOf(root);
    for (uint32_t id = 1; id <= written.size(); ++id) {
        base = 0;
        WriteIfNeeded(id);
    }
    base = 0;

    header.tableOffset = guard.GetMark();
    saving.Advance(1);
    guard.Seek(static_cast<int32_t>(header.tableOffset), Stream::kFromStart);
    table.Write(*this);
    uint32_t end = guard.GetMark();
    saving.Advance(1);

    guard.Seek(static_cast<int32_t>(headerStart), Stream::kFromStart);
    WriteHeader();
    saving.Advance(1);

    guard.Seek(static_cast<int32_t>(header.formatOffset), Stream::kFromStart);
    format->Write(guard);
    if (guard.GetMark() != formatEnd)
        AssertionFailed("stream->GetMark() == formatEnd", PW_HERE);
    guard.SetLength(end);
}

void ObjectFile::WriteHeader()
{
    guard.Write(header.magic, 4);
    guard.WriteByte(static_cast<char>(header.byteOrder));
    guard.WriteLong(static_cast<int32_t>(header.formatVersion.Raw()));
    guard.WriteLong((header.flags & kTagged) ? 1 : 0);
    guard.WriteLong(static_cast<int32_t>(header.tableOffset));
    guard.WriteLong(static_cast<int32_t>(header.formatOffset));
    guard.WriteLong(static_cast<int32_t>(header.rootId));
}

// The object's bytes start here; `base` then moves on by its whole length, so that the object
// that refers to it measures only its own bytes. The table may grow while the object writes
// itself, so its entry is looked up again afterwards.
void ObjectFile::WriteIfNeeded(uint32_t id)
{
    if (id == 0 || table[id].offset != 0)
        return;
    Persistent* object = written[id - 1];
    uint32_t number = format->ClassNumberOf(object->GetPersistentVersion());
    uint32_t offset = guard.GetMark();
    table[id].classNumber = number;
    table[id].offset = offset;
    uint32_t saved = base;
    object->Write(*this);
    uint32_t length = guard.GetMark() - offset;
    table[id].length = length;
    base = saved + length;
}
