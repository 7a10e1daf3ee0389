// Assembles the replies of an FTP control connection from the bytes received, however the receives
// split them: a line runs to a line feed, of which the first kMaxLine characters are kept and the
// rest dropped; a reply begins with a digit from 1 to 5, and a multi-line one runs from a line
// "ddd-" to the first line beginning "ddd ".
// A reply, all its lines counted, may take at most kMaxReplyBytes: a server that never ends one
// is told apart from one that is merely wordy. The control connection owns one per connection
// and interprets the replies; the reader holds no socket, so it can be fed bytes in any pieces.
#pragma once

#include "net/ReplyLines.h"

#include <cstddef>
#include <string>

namespace pw::net {

class FTPReplyReader {
public:
    // The part of a reply line that is kept.
    static constexpr size_t kMaxLine = 4096;
    // Far more than any server's greeting or help, far less than a server that never ends its
    // reply would send.
    static constexpr size_t kMaxReplyBytes = 65536;

    enum Result {
        kPartial, // the byte was taken; no line has ended
        kLine, // a line has ended: TakeLine gives it
        kTooLong, // the reply in progress has passed its size; the byte was not taken
    };

    // The limits are parameters so the paths past them can be exercised with small inputs.
    explicit FTPReplyReader(size_t maxLine = kMaxLine, size_t maxReplyBytes = kMaxReplyBytes);

    // Takes one received byte.
    Result Take(char byte);
    // The line that ended at the last kLine, without its line feed; the next line starts empty.
    std::string TakeLine();

    // Whether `line` (its trailing CR and LF dropped, in place) ends a reply; the lines of a
    // multi-line reply before its last and, outside one, lines that do not begin with a digit
    // from 1 to 5 do not.
    // When a reply ends, the byte count starts afresh for the next.
    bool EndsReply(std::string& line);

    // The bytes counted toward the reply in progress.
    size_t ReplyBytes() const { return lines.ReplyBytes(); }
    // True while a multi-line reply has begun and not ended.
    bool InMultiLineReply() const { return !multiLineCode.empty(); }

private:
    ReplyLines lines;
    std::string line;
    // The code of a multi-line reply in progress ("230-" seen, "230 " not yet), else empty.
    std::string multiLineCode;
};

} // namespace pw::net
