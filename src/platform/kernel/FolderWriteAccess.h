// Whether the user may write the items of one open folder, as access(W_OK) answers: the read-only
// bit of each file a search lists. A listing of hundreds of files would ask the host once a file,
// so the answer is read from the file's status where the host's rules make it certain: a file the
// user owns, with its owner's write bit set, on a disk mounted for writing whose permissions are
// plain mode bits, not made immutable and not mounted over, with no security module that judges
// each item. Any other item is asked of the host, so the answer never differs from access().
#pragma once

#include <cstdint>

#include <fcntl.h>
#include <sys/stat.h>

namespace pw::platform {

class FolderWriteAccess {
public:
    // `folder` stays open while this is asked.
    explicit FolderWriteAccess(int folder);

    // `status` is statx of `name` in the folder, not following a link.
    bool Writable(const char* name, const struct statx& status) const;

    // The status the statx of an item gives, as the rest of the floor reads it.
    static struct stat StatOf(const struct statx& status);

    // The statx fields Writable reads.
    static constexpr unsigned kStatxFields = STATX_BASIC_STATS | STATX_MNT_ID;

private:
    int folder;
    bool modeBitsDecide = false;
    uint64_t mountId = 0;
    uid_t user = 0;
};

} // namespace pw::platform
