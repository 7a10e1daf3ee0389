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

// GetFileAttributesA's answer for an item: a folder is exactly 0x10 (0x410 through a link), a
// file 0x80, or 0x01 when the user may not write it; `st` is the followed stat of `hostPath`.
DWORD AttributesOf(const std::string& hostPath, const struct stat& st, bool isLink);

// 100 ns units since 1601-01-01 UTC, split as FILETIME.
FILETIME FileTimeFromUnix(const struct timespec& time);
FILETIME SplitFileTime(uint64_t value);
uint64_t JoinFileTime(const FILETIME& time);

} // namespace pw::platform
