// The line assembly both reply readers share: bytes up to a line feed make a line, of which the
// first `maxLine` characters are kept, and every byte counts toward the reply in progress, which
// may take at most `maxReplyBytes`.
#pragma once

#include <cstddef>
#include <string>

namespace pw::net {

class ReplyLines {
public:
    enum Step {
        kTaken, // the byte was taken; no line has ended
        kEnded, // a line has ended and was moved into the caller's string
        kOverSize, // the reply in progress has passed its size; the byte was not taken
    };

    ReplyLines(size_t maxLine, size_t maxReplyBytes)
        : maxLine(maxLine)
        , maxReplyBytes(maxReplyBytes)
    {
    }

    // Takes one received byte; at a line feed the line (without it) goes into `line`.
    Step Take(char byte, std::string& line)
    {
        if (replyBytes >= maxReplyBytes)
            return kOverSize;
        ++replyBytes;
        if (byte != '\n') {
            if (partial.size() < maxLine)
                partial += byte;
            return kTaken;
        }
        line.swap(partial);
        partial.clear();
        return kEnded;
    }

    size_t ReplyBytes() const { return replyBytes; }
    // The next reply's bytes are counted afresh.
    void StartReply() { replyBytes = 0; }

private:
    size_t maxLine;
    size_t maxReplyBytes;
    std::string partial;
    size_t replyBytes { 0 };
};

} // namespace pw::net
