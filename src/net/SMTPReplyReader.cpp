#include "net/SMTPReplyReader.h"

pw::net::SMTPReplyReader::SMTPReplyReader(size_t maxLine, size_t maxReplyBytes)
    : maxLine(maxLine)
    , maxReplyBytes(maxReplyBytes)
{
}

pw::net::SMTPReplyReader::Result pw::net::SMTPReplyReader::Take(char byte)
{
    if (replyBytes >= maxReplyBytes)
        return kTooLong;
    ++replyBytes;
    if (byte != '\n') {
        if (partial.size() < maxLine)
            partial += byte;
        return kPartial;
    }
    line.swap(partial);
    partial.clear();
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    if (line.size() < 3 || line.find_first_not_of("0123456789") < 3)
        return kNoReply;
    if (line.size() > 3 && line[3] == '-')
        return kPartial;
    code = (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
    return kReply;
}
