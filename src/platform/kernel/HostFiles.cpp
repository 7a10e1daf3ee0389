#include "platform/kernel/HostFiles.h"

#include <cerrno>
#include <cstdint>

#include <unistd.h>

#include <windows.h>

namespace pw::platform {

namespace {
// 100 ns intervals between 1601-01-01 and 1970-01-01.
constexpr int64_t kUnixEpochAsFileTime = 116'444'736'000'000'000LL;
constexpr mode_t kAnyoneWrites = S_IWUSR | S_IWGRP | S_IWOTH;
} // namespace

DWORD ErrorFromErrno(int error, DWORD fallback)
{
    switch (error) {
    case ENOENT:
        return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
    case ELOOP:
        return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
        return ERROR_ACCESS_DENIED;
    case EBADF:
        return ERROR_INVALID_HANDLE;
    case ENOMEM:
        return ERROR_NOT_ENOUGH_MEMORY;
    case EMFILE:
    case ENFILE:
        return ERROR_TOO_MANY_OPEN_FILES;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return ERROR_DISK_FULL;
    case EEXIST:
        return ERROR_ALREADY_EXISTS;
    case ENAMETOOLONG:
        return ERROR_FILENAME_EXCED_RANGE;
    default:
        return fallback;
    }
}

bool MayWrite(const std::string& hostPath, const struct stat& st)
{
    return (st.st_mode & kAnyoneWrites) != 0 && access(hostPath.c_str(), W_OK) == 0;
}

DWORD AttributesOf(const std::string& hostPath, const struct stat& st, bool isLink)
{
    return AttributesOf(st, isLink, S_ISDIR(st.st_mode) || access(hostPath.c_str(), W_OK) == 0);
}

DWORD AttributesOf(const struct stat& st, bool isLink, bool writable)
{
    if (S_ISDIR(st.st_mode))
        return isLink ? FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT : FILE_ATTRIBUTE_DIRECTORY;
    return writable && (st.st_mode & kAnyoneWrites) != 0 ? FILE_ATTRIBUTE_NORMAL : FILE_ATTRIBUTE_READONLY;
}

FILETIME FileTimeFromUnix(const struct timespec& time)
{
    // Clamped to 1601..30828, the range a FILETIME converts.
    constexpr int64_t kMaxSeconds = (INT64_MAX - kUnixEpochAsFileTime) / 10'000'000 - 1;
    constexpr int64_t kMinSeconds = -kUnixEpochAsFileTime / 10'000'000;
    int64_t seconds = static_cast<int64_t>(time.tv_sec);
    if (seconds < kMinSeconds)
        return SplitFileTime(0);
    if (seconds > kMaxSeconds)
        seconds = kMaxSeconds;
    int64_t units = kUnixEpochAsFileTime + seconds * 10'000'000 + time.tv_nsec / 100;
    return SplitFileTime(units < 0 ? 0 : static_cast<uint64_t>(units));
}

FILETIME SplitFileTime(uint64_t value)
{
    return FILETIME { static_cast<DWORD>(value), static_cast<DWORD>(value >> 32) };
}

uint64_t JoinFileTime(const FILETIME& time)
{
    return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

} // namespace pw::platform
