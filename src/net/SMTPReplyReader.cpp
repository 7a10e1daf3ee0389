#include "net/SMTPReplyReader.h"

pw::net::SMTPReplyReader::SMTPReplyReader(size_t maxLine, size_t maxReplyBytes)
    : lines(maxLine, maxReplyBytes)
{
}

pw::net::SMTPReplyReader::Result pw::net::SMTPReplyReader::Take(char byte)
{
    switch (lines.Take(byte, line)) {
    case ReplyLines::kOverSize:
        return kTooLong;
    case ReplyLines::kTaken:
        return kPartial;
    case ReplyLines::kEnded:
        break;
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    if (line.size() < 3 || line.find_first_not_of("0123456789") < 3)
        return kNoReply;
    if (line.size() > 3 && line[3] == '-')
        return kPartial;
    code = (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
    return kReply;
}
