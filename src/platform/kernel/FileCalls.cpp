// Files over POSIX descriptors. The floor keeps its own file pointer and reads and writes with
// pread/pwrite, looping until the whole count is moved, so a regular file never gives a short
// read before its end and a write is either whole or reported as failed. No write buffer is
// kept, so GetFileSize always sees what WriteFile wrote.
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/kernel/Clock.h"
#include "platform/kernel/HandleTable.h"
#include "platform/kernel/HostFiles.h"
#include "platform/kernel/KernelTesting.h"
#include "platform/kernel/LastError.h"
#include "platform/kernel/PathMapper.h"

using pw::platform::Fail;
using pw::platform::HandleTable;
using pw::platform::MappedPath;

namespace {

class FileObject : public pw::platform::KernelObject {
public:
    static constexpr Kind kKind = Kind::File;

    FileObject(int fd, std::string hostPath, bool canRead, bool canWrite)
        : KernelObject(kKind)
        , fd(fd)
        , hostPath(std::move(hostPath))
        , canRead(canRead)
        , canWrite(canWrite)
    {
    }
    ~FileObject() override { close(fd); }

    const int fd;
    const std::string hostPath;
    const bool canRead;
    const bool canWrite;
    uint64_t position = 0;
};

constexpr int64_t kUnixEpochAsFileTime = 116'444'736'000'000'000LL;

// Under test, file times follow the virtual clock like GetSystemTime, so tests that compare a
// modification time with "now" are repeatable.
void StampModified(int fd)
{
    if (!pw::platform::testing::IsTestMode())
        return;
    int64_t units = static_cast<int64_t>(pw::platform::Clock::UtcFileTime()) - kUnixEpochAsFileTime;
    timespec times[2] = { { 0, UTIME_OMIT }, { units / 10'000'000, (units % 10'000'000) * 100 } };
    if (units >= 0)
        futimens(fd, times);
}

int OpenFlags(bool canRead, bool canWrite, bool truncate)
{
    if (truncate || canWrite)
        return canRead || truncate ? O_RDWR : O_WRONLY;
    // Access 0 opens for queries only: O_PATH needs no permission and reads no data.
    return canRead ? O_RDONLY : O_PATH;
}

} // namespace

// Opens or creates a file; OPEN_ALWAYS and CREATE_ALWAYS leave 183 when it existed, 0 when made;
// writing a read-only file (attribute 0x01) is refused with 5. Share modes are not enforced: every
// open the program makes is compatible.
HANDLE WINAPI CreateFileA(LPCSTR lpFileName, DWORD dwDesiredAccess, DWORD, LPSECURITY_ATTRIBUTES, DWORD dwCreationDisposition,
                          DWORD, HANDLE)
{
    if (dwCreationDisposition < CREATE_NEW || dwCreationDisposition > TRUNCATE_EXISTING)
        return Fail(ERROR_INVALID_PARAMETER, INVALID_HANDLE_VALUE);
    MappedPath mapped = pw::platform::PathMapper::Map(lpFileName);
    if (mapped.error != 0)
        return Fail(mapped.error, INVALID_HANDLE_VALUE);
    // A folder never opens as a file; nor does a device, a pipe or a dangling link.
    if (mapped.kind == MappedPath::Kind::Folder || mapped.kind == MappedPath::Kind::Other)
        return Fail(ERROR_ACCESS_DENIED, INVALID_HANDLE_VALUE);
    bool exists = mapped.kind == MappedPath::Kind::File;
    bool canRead = (dwDesiredAccess & (GENERIC_READ | GENERIC_ALL)) != 0;
    bool canWrite = (dwDesiredAccess & (GENERIC_WRITE | GENERIC_ALL)) != 0;
    if (!exists && (dwCreationDisposition == OPEN_EXISTING || dwCreationDisposition == TRUNCATE_EXISTING))
        return Fail(ERROR_FILE_NOT_FOUND, INVALID_HANDLE_VALUE);
    if (exists && dwCreationDisposition == CREATE_NEW)
        return Fail(ERROR_FILE_EXISTS, INVALID_HANDLE_VALUE);
    if (dwCreationDisposition == TRUNCATE_EXISTING && !canWrite)
        return Fail(ERROR_INVALID_PARAMETER, INVALID_HANDLE_VALUE);

    bool truncate = exists && (dwCreationDisposition == CREATE_ALWAYS || dwCreationDisposition == TRUNCATE_EXISTING);
    // A read-only file refuses writing to every user, as the read-only attribute does.
    struct stat before;
    if (exists && (canWrite || truncate) && stat(mapped.hostPath.c_str(), &before) == 0
        && !pw::platform::MayWrite(mapped.hostPath, before))
        return Fail(ERROR_ACCESS_DENIED, INVALID_HANDLE_VALUE);
    int flags = OpenFlags(canRead, canWrite, truncate);
    if (!exists)
        flags = (flags == O_PATH ? O_RDONLY : flags) | O_CREAT | O_EXCL;
    if (truncate)
        flags |= O_TRUNC;
    flags |= O_CLOEXEC | O_NONBLOCK;
    int fd = open(mapped.hostPath.c_str(), flags, 0666);
    if (fd < 0)
        return Fail(pw::platform::ErrorFromErrno(errno, ERROR_ACCESS_DENIED), INVALID_HANDLE_VALUE);
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return Fail(ERROR_ACCESS_DENIED, INVALID_HANDLE_VALUE);
    }
    if ((flags & O_PATH) == 0)
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!exists || truncate)
        StampModified(fd);
    HANDLE handle = HandleTable::Add(std::make_unique<FileObject>(fd, mapped.hostPath, canRead, canWrite));
    if (handle == nullptr)
        return Fail(ERROR_TOO_MANY_OPEN_FILES, INVALID_HANDLE_VALUE);
    if (dwCreationDisposition == OPEN_ALWAYS || dwCreationDisposition == CREATE_ALWAYS)
        pw::platform::SetLastErrorCode(exists ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return handle;
}

// Reads min(n, bytes left) at the file pointer; at the end TRUE with 0.
BOOL WINAPI ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead,
                     LPOVERLAPPED lpOverlapped)
{
    if (lpNumberOfBytesRead != nullptr)
        *lpNumberOfBytesRead = 0;
    FileObject* file = HandleTable::Get<FileObject>(hFile);
    if (file == nullptr)
        return Fail(ERROR_INVALID_HANDLE, FALSE);
    if (lpOverlapped != nullptr || lpNumberOfBytesRead == nullptr || (lpBuffer == nullptr && nNumberOfBytesToRead > 0))
        return Fail(ERROR_INVALID_PARAMETER, FALSE);
    if (!file->canRead)
        return Fail(ERROR_ACCESS_DENIED, FALSE);
    auto* bytes = static_cast<char*>(lpBuffer);
    DWORD total = 0;
    while (total < nNumberOfBytesToRead) {
        ssize_t got = pread(file->fd, bytes + total, nNumberOfBytesToRead - total, static_cast<off_t>(file->position + total));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            int error = errno;
            file->position += total;
            *lpNumberOfBytesRead = total;
            return Fail(pw::platform::ErrorFromErrno(error, ERROR_READ_FAULT), FALSE);
        }
        if (got == 0)
            break;
        total += static_cast<DWORD>(got);
    }
    file->position += total;
    *lpNumberOfBytesRead = total;
    return TRUE;
}

// Writes all n bytes at the file pointer (past the end the gap reads as zeros), or fails with
// 112 or 5; never TRUE with a short count.
BOOL WINAPI WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite, LPDWORD lpNumberOfBytesWritten,
                      LPOVERLAPPED lpOverlapped)
{
    if (lpNumberOfBytesWritten != nullptr)
        *lpNumberOfBytesWritten = 0;
    FileObject* file = HandleTable::Get<FileObject>(hFile);
    if (file == nullptr)
        return Fail(ERROR_INVALID_HANDLE, FALSE);
    if (lpOverlapped != nullptr || lpNumberOfBytesWritten == nullptr || (lpBuffer == nullptr && nNumberOfBytesToWrite > 0))
        return Fail(ERROR_INVALID_PARAMETER, FALSE);
    if (!file->canWrite)
        return Fail(ERROR_ACCESS_DENIED, FALSE);
    const auto* bytes = static_cast<const char*>(lpBuffer);
    DWORD wanted = nNumberOfBytesToWrite;
    // Under test the disk may be given a size: only what fits of a growing write is written.
    std::optional<uint64_t>& spaceLeft = pw::platform::testing::DiskSpaceLeft();
    uint64_t sizeBefore = 0;
    if (spaceLeft) {
        struct stat st;
        sizeBefore = fstat(file->fd, &st) == 0 ? static_cast<uint64_t>(st.st_size) : 0;
        uint64_t limit = sizeBefore + *spaceLeft;
        uint64_t fits = limit > file->position ? limit - file->position : 0;
        wanted = static_cast<DWORD>(std::min<uint64_t>(wanted, fits));
    }
    DWORD total = 0;
    while (total < wanted) {
        ssize_t put = pwrite(file->fd, bytes + total, wanted - total, static_cast<off_t>(file->position + total));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0) {
            int error = put < 0 ? errno : ENOSPC;
            file->position += total;
            *lpNumberOfBytesWritten = total;
            StampModified(file->fd);
            return Fail(pw::platform::ErrorFromErrno(error, ERROR_WRITE_FAULT), FALSE);
        }
        total += static_cast<DWORD>(put);
    }
    file->position += total;
    *lpNumberOfBytesWritten = total;
    StampModified(file->fd);
    if (spaceLeft) {
        *spaceLeft -= file->position > sizeBefore ? file->position - sizeBefore : 0;
        if (total < nNumberOfBytesToWrite)
            return Fail(ERROR_DISK_FULL, FALSE);
    }
    return TRUE;
}

// Moves the file pointer (beyond the end allowed); INVALID_SET_FILE_POINTER with 6, 87 (bad
// method, or a position that needs the high word the caller did not give) or 131 (before 0).
DWORD WINAPI SetFilePointer(HANDLE hFile, LONG lDistanceToMove, PLONG lpDistanceToMoveHigh, DWORD dwMoveMethod)
{
    FileObject* file = HandleTable::Get<FileObject>(hFile);
    if (file == nullptr)
        return Fail(ERROR_INVALID_HANDLE, INVALID_SET_FILE_POINTER);
    int64_t distance = lDistanceToMove;
    if (lpDistanceToMoveHigh != nullptr)
        distance = static_cast<int64_t>((static_cast<uint64_t>(static_cast<uint32_t>(*lpDistanceToMoveHigh)) << 32)
                                        | static_cast<uint32_t>(lDistanceToMove));
    int64_t base = 0;
    struct stat st;
    switch (dwMoveMethod) {
    case FILE_BEGIN:
        break;
    case FILE_CURRENT:
        base = static_cast<int64_t>(file->position);
        break;
    case FILE_END:
        if (fstat(file->fd, &st) != 0)
            return Fail(pw::platform::ErrorFromErrno(errno, ERROR_INVALID_HANDLE), INVALID_SET_FILE_POINTER);
        base = st.st_size;
        break;
    default:
        return Fail(ERROR_INVALID_PARAMETER, INVALID_SET_FILE_POINTER);
    }
    int64_t target = 0;
    if (__builtin_add_overflow(base, distance, &target))
        return Fail(ERROR_INVALID_PARAMETER, INVALID_SET_FILE_POINTER);
    if (target < 0)
        return Fail(ERROR_NEGATIVE_SEEK, INVALID_SET_FILE_POINTER);
    if (lpDistanceToMoveHigh == nullptr && target >= static_cast<int64_t>(INVALID_SET_FILE_POINTER))
        return Fail(ERROR_INVALID_PARAMETER, INVALID_SET_FILE_POINTER);
    file->position = static_cast<uint64_t>(target);
    if (lpDistanceToMoveHigh != nullptr) {
        *lpDistanceToMoveHigh = static_cast<LONG>(file->position >> 32);
        // The low word alone cannot tell this success from a failure.
        if (static_cast<DWORD>(file->position) == INVALID_SET_FILE_POINTER)
            pw::platform::SetLastErrorCode(NO_ERROR);
    }
    return static_cast<DWORD>(file->position);
}

// The size's low 32 bits, the high ones in *high; INVALID_FILE_SIZE with 6 for a bad handle.
DWORD WINAPI GetFileSize(HANDLE hFile, LPDWORD lpFileSizeHigh)
{
    FileObject* file = HandleTable::Get<FileObject>(hFile);
    if (file == nullptr)
        return Fail(ERROR_INVALID_HANDLE, INVALID_FILE_SIZE);
    struct stat st;
    if (fstat(file->fd, &st) != 0)
        return Fail(pw::platform::ErrorFromErrno(errno, ERROR_INVALID_HANDLE), INVALID_FILE_SIZE);
    auto size = static_cast<uint64_t>(st.st_size);
    if (lpFileSizeHigh != nullptr) {
        *lpFileSizeHigh = static_cast<DWORD>(size >> 32);
        if (static_cast<DWORD>(size) == INVALID_FILE_SIZE)
            pw::platform::SetLastErrorCode(NO_ERROR);
    }
    return static_cast<DWORD>(size);
}

// Sets the length to the file pointer: shorter cuts, longer zero-fills.
BOOL WINAPI SetEndOfFile(HANDLE hFile)
{
    FileObject* file = HandleTable::Get<FileObject>(hFile);
    if (file == nullptr)
        return Fail(ERROR_INVALID_HANDLE, FALSE);
    if (!file->canWrite)
        return Fail(ERROR_ACCESS_DENIED, FALSE);
    if (ftruncate(file->fd, static_cast<off_t>(file->position)) != 0)
        return Fail(pw::platform::ErrorFromErrno(errno, ERROR_WRITE_FAULT), FALSE);
    StampModified(file->fd);
    return TRUE;
}

// Closes a file handle; anything else (a search, a dead handle) fails with 6.
BOOL WINAPI CloseHandle(HANDLE hObject)
{
    if (HandleTable::Remove(hObject, FileObject::kKind) == nullptr)
        return Fail(ERROR_INVALID_HANDLE, FALSE);
    return TRUE;
}

// Attributes, times (UTC) and size of an open file, also one opened with access 0.
BOOL WINAPI GetFileInformationByHandle(HANDLE hFile, LPBY_HANDLE_FILE_INFORMATION lpFileInformation)
{
    FileObject* file = HandleTable::Get<FileObject>(hFile);
    if (file == nullptr)
        return Fail(ERROR_INVALID_HANDLE, FALSE);
    if (lpFileInformation == nullptr)
        return Fail(ERROR_INVALID_PARAMETER, FALSE);
    struct stat st;
    if (fstat(file->fd, &st) != 0)
        return Fail(pw::platform::ErrorFromErrno(errno, ERROR_INVALID_HANDLE), FALSE);
    auto index = static_cast<uint64_t>(st.st_ino);
    BY_HANDLE_FILE_INFORMATION& info = *lpFileInformation;
    info = {};
    pw::platform::DescribeItem(info, pw::platform::AttributesOf(file->hostPath, st, false), st);
    info.dwVolumeSerialNumber = static_cast<DWORD>(st.st_dev);
    info.nNumberOfLinks = static_cast<DWORD>(st.st_nlink);
    info.nFileIndexHigh = static_cast<DWORD>(index >> 32);
    info.nFileIndexLow = static_cast<DWORD>(index);
    return TRUE;
}

// The 16-bit-style read on a CreateFileA handle cast to HFILE: bytes read, or HFILE_ERROR.
UINT WINAPI _lread(HFILE hFile, LPVOID lpBuffer, UINT uBytes)
{
    DWORD got = 0;
    if (!ReadFile(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(hFile)), lpBuffer, uBytes, &got, nullptr))
        return static_cast<UINT>(HFILE_ERROR);
    return got;
}

// Closes a CreateFileA handle cast to HFILE: 0, or HFILE_ERROR.
HFILE WINAPI _lclose(HFILE hFile)
{
    return CloseHandle(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(hFile))) ? 0 : HFILE_ERROR;
}

// _lread with a count of up to 2 GB: bytes read (0 at the end), or HFILE_ERROR.
LONG WINAPI _hread(HFILE hFile, LPVOID lpBuffer, LONG lBytes)
{
    if (lBytes < 0)
        return Fail(ERROR_INVALID_PARAMETER, LONG(HFILE_ERROR));
    DWORD got = 0;
    if (!ReadFile(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(hFile)), lpBuffer, static_cast<DWORD>(lBytes), &got,
                  nullptr))
        return HFILE_ERROR;
    return static_cast<LONG>(got);
}

// OF_READ only: a CreateFileA read handle as the HFILE, the full path in szPathName; HFILE_ERROR
// with the error (also in nErrCode): 206 from OFS_MAXPATHNAME bytes of path, 87 for another style.
HFILE WINAPI OpenFile(LPCSTR lpFileName, LPOFSTRUCT lpReOpenBuff, UINT uStyle)
{
    if (lpReOpenBuff == nullptr || lpFileName == nullptr)
        return Fail(ERROR_INVALID_PARAMETER, HFILE_ERROR);
    OFSTRUCT& info = *lpReOpenBuff;
    info = {};
    info.cBytes = static_cast<BYTE>(sizeof(OFSTRUCT));
    info.fFixedDisk = 1;
    auto fail = [&info](DWORD error) {
        info.nErrCode = static_cast<WORD>(error);
        return Fail(error, HFILE_ERROR);
    };
    // The share-mode bits (0x10 to 0x40) ask nothing the floor enforces.
    if ((uStyle & ~UINT(0x70)) != OF_READ)
        return fail(ERROR_INVALID_PARAMETER);
    if (std::strlen(lpFileName) >= OFS_MAXPATHNAME)
        return fail(ERROR_FILENAME_EXCED_RANGE);
    MappedPath mapped = pw::platform::PathMapper::Map(lpFileName);
    if (mapped.error == 0 && mapped.windowsPath.size() >= OFS_MAXPATHNAME)
        return fail(ERROR_FILENAME_EXCED_RANGE);
    HANDLE file = CreateFileA(lpFileName, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return fail(GetLastError());
    std::memcpy(info.szPathName, mapped.windowsPath.c_str(), mapped.windowsPath.size() + 1);
    return static_cast<HFILE>(reinterpret_cast<INT_PTR>(file));
}
