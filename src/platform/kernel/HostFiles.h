// What the host file system says, in the kernel's terms: error codes for errno values, attributes
// and times of items. Shared by the file, folder and search calls so they report alike.
#pragma once

#include <cstdint>
#include <string>

#include <sys/stat.h>

#include <windef.h>

namespace pw::platform {

// The last error for a failed host call; `fallback` for errno values with no closer code.
DWORD ErrorFromErrno(int error, DWORD fallback);

// Whether the user may write the file: the host lets this user write it, and its permissions let
// someone write it. A file nobody may write is read-only for every user, root too, as the
// read-only attribute makes a file read-only for administrators as well on the program's platform.
bool MayWrite(const std::string& hostPath, const struct stat& st);

// GetFileAttributesA's answer for an item: a folder is exactly 0x10 (0x410 through a link), a
// file 0x80, or 0x01 when the user may not write it; `st` is the followed stat of `hostPath`.
DWORD AttributesOf(const std::string& hostPath, const struct stat& st, bool isLink);
// The same for an item whose write permission for this user is already known.
DWORD AttributesOf(const struct stat& st, bool isLink, bool writable);

// 100 ns units since 1601-01-01 UTC, split as FILETIME.
FILETIME FileTimeFromUnix(const struct timespec& time);
FILETIME SplitFileTime(uint64_t value);
uint64_t JoinFileTime(const FILETIME& time);

// Fills what a search entry and an open file's information share: attributes, the times (the host
// keeps no creation time every file system reports, so the last write stands in) and a file's size.
template <typename Info>
void DescribeItem(Info& info, DWORD attributes, const struct stat& st)
{
    info.dwFileAttributes = attributes;
    info.ftCreationTime = FileTimeFromUnix(st.st_mtim);
    info.ftLastAccessTime = FileTimeFromUnix(st.st_atim);
    info.ftLastWriteTime = FileTimeFromUnix(st.st_mtim);
    if (!S_ISDIR(st.st_mode)) {
        auto size = static_cast<uint64_t>(st.st_size);
        info.nFileSizeHigh = static_cast<DWORD>(size >> 32);
        info.nFileSizeLow = static_cast<DWORD>(size);
    }
}

} // namespace pw::platform
