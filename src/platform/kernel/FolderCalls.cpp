// Items and folders by path, and the process-wide current folder, over PathMapper.
#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/kernel/HostFiles.h"
#include "platform/kernel/LastError.h"
#include "platform/kernel/PathMapper.h"

using pw::platform::Fail;
using pw::platform::MappedPath;
using pw::platform::PathMapper;

namespace {
UINT lastTempNumber = 0;
}

// A folder is exactly 0x10 (0x410 through a link), a file 0x80 or 0x01; INVALID_FILE_ATTRIBUTES
// with 2 for a missing item, 3 for a missing folder on the way.
DWORD WINAPI GetFileAttributesA(LPCSTR lpFileName)
{
    MappedPath mapped = PathMapper::Map(lpFileName);
    if (mapped.error != 0)
        return Fail(mapped.error, INVALID_FILE_ATTRIBUTES);
    struct stat st;
    if (mapped.kind == MappedPath::Kind::Missing || stat(mapped.hostPath.c_str(), &st) != 0)
        return Fail(ERROR_FILE_NOT_FOUND, INVALID_FILE_ATTRIBUTES);
    return pw::platform::AttributesOf(mapped.hostPath, st, mapped.isLink);
}

// Makes one folder: 183 when the name exists (folder or file), 3 when its parent is missing.
BOOL WINAPI CreateDirectoryA(LPCSTR lpPathName, LPSECURITY_ATTRIBUTES)
{
    MappedPath mapped = PathMapper::Map(lpPathName);
    if (mapped.error != 0)
        return Fail(mapped.error, FALSE);
    if (mapped.kind != MappedPath::Kind::Missing)
        return Fail(ERROR_ALREADY_EXISTS, FALSE);
    if (mkdir(mapped.hostPath.c_str(), 0777) != 0)
        return Fail(pw::platform::ErrorFromErrno(errno, ERROR_ACCESS_DENIED), FALSE);
    return TRUE;
}

// Deletes a file: 2 when missing, 5 for a folder or a read-only file.
BOOL WINAPI DeleteFileA(LPCSTR lpFileName)
{
    MappedPath mapped = PathMapper::Map(lpFileName);
    if (mapped.error != 0)
        return Fail(mapped.error, FALSE);
    if (mapped.kind == MappedPath::Kind::Missing)
        return Fail(ERROR_FILE_NOT_FOUND, FALSE);
    if (mapped.kind == MappedPath::Kind::Folder)
        return Fail(ERROR_ACCESS_DENIED, FALSE);
    struct stat st;
    if (mapped.kind == MappedPath::Kind::File && stat(mapped.hostPath.c_str(), &st) == 0
        && !pw::platform::MayWrite(mapped.hostPath, st))
        return Fail(ERROR_ACCESS_DENIED, FALSE);
    if (unlink(mapped.hostPath.c_str()) != 0)
        return Fail(pw::platform::ErrorFromErrno(errno, ERROR_ACCESS_DENIED), FALSE);
    return TRUE;
}

// Renames a file in one step, as the saves rely on: the new name either still names its old file
// or names the moved one, never a part of either. 2 when the file is missing, 3 for a missing
// folder on the way, 5 when either name is a folder, 183 when the new name exists and
// MOVEFILE_REPLACE_EXISTING is not given; the moved file keeps its bytes and the old name goes.
BOOL WINAPI MoveFileExA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName, DWORD dwFlags)
{
    if (lpExistingFileName == nullptr || lpNewFileName == nullptr || (dwFlags & ~MOVEFILE_REPLACE_EXISTING) != 0)
        return Fail(ERROR_INVALID_PARAMETER, FALSE);
    MappedPath from = PathMapper::Map(lpExistingFileName);
    if (from.error != 0)
        return Fail(from.error, FALSE);
    if (from.kind == MappedPath::Kind::Missing)
        return Fail(ERROR_FILE_NOT_FOUND, FALSE);
    if (from.kind != MappedPath::Kind::File)
        return Fail(ERROR_ACCESS_DENIED, FALSE);
    MappedPath to = PathMapper::Map(lpNewFileName);
    if (to.error != 0)
        return Fail(to.error, FALSE);
    if (to.kind == MappedPath::Kind::Folder || to.kind == MappedPath::Kind::Other)
        return Fail(ERROR_ACCESS_DENIED, FALSE);
    if (to.kind == MappedPath::Kind::File && from.hostPath == to.hostPath)
        return TRUE;
    if (to.kind == MappedPath::Kind::File && !(dwFlags & MOVEFILE_REPLACE_EXISTING))
        return Fail(ERROR_ALREADY_EXISTS, FALSE);
    if (std::rename(from.hostPath.c_str(), to.hostPath.c_str()) != 0)
        return Fail(pw::platform::ErrorFromErrno(errno, ERROR_ACCESS_DENIED), FALSE);
    return TRUE;
}

// "c:\dir\sub" ("c:\" at the root): its length without the NUL, or, when the buffer is too small,
// the size needed with the NUL and nothing written.
DWORD WINAPI GetCurrentDirectoryA(DWORD nBufferLength, LPSTR lpBuffer)
{
    std::string folder = PathMapper::CurrentFolder();
    auto length = static_cast<DWORD>(folder.size());
    if (lpBuffer == nullptr || nBufferLength < length + 1)
        return length + 1;
    std::memcpy(lpBuffer, folder.c_str(), length + 1);
    return length;
}

// Makes an existing folder current: 2 or 3 when missing, 267 when the path names a file.
BOOL WINAPI SetCurrentDirectoryA(LPCSTR lpPathName)
{
    MappedPath mapped = PathMapper::Map(lpPathName);
    if (mapped.error != 0)
        return Fail(mapped.error, FALSE);
    if (mapped.kind == MappedPath::Kind::Missing)
        return Fail(ERROR_FILE_NOT_FOUND, FALSE);
    if (mapped.kind != MappedPath::Kind::Folder)
        return Fail(ERROR_DIRECTORY, FALSE);
    PathMapper::SetCurrentFolder(mapped.components);
    return TRUE;
}

// Makes "dir\preXXXX.tmp" (three prefix characters, four upper-case hex digits of a fresh
// non-zero number), creates it empty and returns the number; with a non-zero uUnique only forms
// the name. 0 with 3 or 267 when dir is missing or no folder.
UINT WINAPI GetTempFileNameA(LPCSTR lpPathName, LPCSTR lpPrefixString, UINT uUnique, LPSTR lpTempFileName)
{
    if (lpPathName == nullptr || lpTempFileName == nullptr)
        return Fail(ERROR_INVALID_PARAMETER, 0u);
    MappedPath mapped = PathMapper::Map(lpPathName);
    if (mapped.error != 0)
        return Fail(mapped.error, 0u);
    if (mapped.kind == MappedPath::Kind::Missing)
        return Fail(ERROR_PATH_NOT_FOUND, 0u);
    if (mapped.kind != MappedPath::Kind::Folder)
        return Fail(ERROR_DIRECTORY, 0u);
    std::string folder = lpPathName;
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/' && folder.back() != ':')
        folder += '\\';
    std::string prefix = lpPrefixString == nullptr ? "" : std::string(lpPrefixString).substr(0, 3);
    if (folder.size() + prefix.size() + sizeof("XXXX.tmp") > MAX_PATH)
        return Fail(ERROR_FILENAME_EXCED_RANGE, 0u);
    auto form = [&](UINT number) {
        std::snprintf(lpTempFileName, MAX_PATH, "%s%s%04X.tmp", folder.c_str(), prefix.c_str(), number & 0xFFFF);
    };
    if (uUnique != 0) {
        form(uUnique);
        return uUnique;
    }
    DWORD savedError = GetLastError();
    for (UINT tries = 0; tries < 0xFFFF; ++tries) {
        lastTempNumber = lastTempNumber % 0xFFFF + 1;
        form(lastTempNumber);
        HANDLE file = CreateFileA(lpTempFileName, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            pw::platform::SetLastErrorCode(savedError);
            return lastTempNumber;
        }
        if (GetLastError() != ERROR_FILE_EXISTS)
            return Fail(GetLastError(), 0u);
    }
    lpTempFileName[0] = '\0';
    return Fail(ERROR_FILE_EXISTS, 0u);
}
