#include "platform/kernel/FolderWriteAccess.h"

#include <cerrno>
#include <cstring>

#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace pw::platform {

namespace {

// Disks whose permission check is the kernel's generic one: the owner's mode bits decide for the
// owner, whatever access-control list the file carries.
bool HasPlainPermissions(const struct statfs& disk)
{
    constexpr long kExt = 0xEF53;
    constexpr long kTmpfs = 0x01021994;
    constexpr long kXfs = 0x58465342;
    long type = static_cast<long>(disk.f_type);
    return type == kExt || type == kTmpfs || type == kXfs;
}

// No security module that judges items one by one is in force for this process: none reports a
// context for it, or the one that does has left it unconfined.
bool NoModuleJudgesItems()
{
    static const bool none = [] {
        int attributes = open("/proc/self/attr/current", O_RDONLY | O_CLOEXEC);
        if (attributes < 0)
            return false;
        char context[64] = {};
        ssize_t got = read(attributes, context, sizeof context - 1);
        int error = errno;
        close(attributes);
        if (got < 0)
            return error == EINVAL;
        return std::strcmp(context, "unconfined") == 0 || std::strcmp(context, "unconfined\n") == 0;
    }();
    return none;
}

} // namespace

FolderWriteAccess::FolderWriteAccess(int folder)
    : folder(folder)
{
    struct statfs disk;
    struct statx self;
    if (fstatfs(folder, &disk) != 0 || !HasPlainPermissions(disk) || (disk.f_flags & ST_RDONLY) != 0
        || statx(folder, "", AT_EMPTY_PATH, STATX_MNT_ID, &self) != 0 || (self.stx_mask & STATX_MNT_ID) == 0)
        return;
    mountId = self.stx_mnt_id;
    user = getuid();
    modeBitsDecide = NoModuleJudgesItems();
}

bool FolderWriteAccess::Writable(const char* name, const struct statx& status) const
{
    bool certain = modeBitsDecide && S_ISREG(status.stx_mode) && status.stx_uid == user
        && (status.stx_mode & S_IWUSR) != 0 && (status.stx_mask & STATX_MNT_ID) != 0
        && status.stx_mnt_id == mountId && (status.stx_attributes_mask & STATX_ATTR_IMMUTABLE) != 0
        && (status.stx_attributes & STATX_ATTR_IMMUTABLE) == 0;
    return certain || faccessat(folder, name, W_OK, 0) == 0;
}

struct stat FolderWriteAccess::StatOf(const struct statx& status)
{
    struct stat st {};
    st.st_mode = status.stx_mode;
    st.st_uid = status.stx_uid;
    st.st_gid = status.stx_gid;
    st.st_nlink = status.stx_nlink;
    st.st_ino = status.stx_ino;
    st.st_size = static_cast<off_t>(status.stx_size);
    st.st_atim = { status.stx_atime.tv_sec, status.stx_atime.tv_nsec };
    st.st_mtim = { status.stx_mtime.tv_sec, status.stx_mtime.tv_nsec };
    st.st_ctim = { status.stx_ctime.tv_sec, status.stx_ctime.tv_nsec };
    return st;
}

} // namespace pw::platform
