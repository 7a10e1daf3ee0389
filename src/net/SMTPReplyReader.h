// Reads one SMTP reply from the bytes received, however the receives split them: lines up to a
// line feed (the first kMaxLine characters kept, a CR before the feed dropped), the lines "ddd-"
// of a multi-line reply passed over up to its last line "ddd text" (or "ddd"). A line too short or
// without a code is no reply. The whole reply may take at most kMaxReplyBytes, so a server that
// floods fails instead of holding its client. The mail worker makes one per reply it awaits; the
// reader holds no socket, so it can be fed bytes in any pieces.
#pragma once

#include "net/ReplyLines.h"

#include <cstddef>
#include <string>

namespace pw::net {

class SMTPReplyReader {
public:
    // The part of a reply line that is kept.
    static constexpr size_t kMaxLine = 1024;
    // Far more than any server's greeting or help, far less than a server that never ends its
    // reply would send.
    static constexpr size_t kMaxReplyBytes = 65536;

    enum Result {
        kPartial, // the byte was taken; the reply goes on
        kReply, // the reply has ended: Code and Line give it
        kNoReply, // a line that is no reply has ended: Line gives it
        kTooLong, // the reply has passed its size; the byte was not taken
    };

    // The limits are parameters so the paths past them can be exercised with small inputs.
    explicit SMTPReplyReader(size_t maxLine = kMaxLine, size_t maxReplyBytes = kMaxReplyBytes);

    // Takes one received byte. After kReply or kNoReply the reader is done with this reply.
    Result Take(char byte);
    // After kReply: the reply's code (of a multi-line reply, its last line's).
    int Code() const { return code; }
    // The last line that ended, without its line end.
    const std::string& Line() const { return line; }

private:
    ReplyLines lines;
    std::string line;
    int code { -1 };
};

} // namespace pw::net
