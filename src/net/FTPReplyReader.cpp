#include "net/FTPReplyReader.h"

pw::net::FTPReplyReader::FTPReplyReader(size_t maxLine, size_t maxReplyBytes)
    : lines(maxLine, maxReplyBytes)
{
}

pw::net::FTPReplyReader::Result pw::net::FTPReplyReader::Take(char byte)
{
    switch (lines.Take(byte, line)) {
    case ReplyLines::kOverSize:
        return kTooLong;
    case ReplyLines::kTaken:
        return kPartial;
    case ReplyLines::kEnded:
        break;
    }
    return kLine;
}

std::string pw::net::FTPReplyReader::TakeLine()
{
    std::string taken;
    taken.swap(line);
    return taken;
}

bool pw::net::FTPReplyReader::EndsReply(std::string& text)
{
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n'))
        text.pop_back();
    if (text.empty())
        return false;
    // The lines between a reply's first and last may hold anything, numbers included.
    if (!multiLineCode.empty()) {
        if (text.size() < 4 || text.compare(0, 3, multiLineCode) != 0 || text[3] != ' ')
            return false;
        multiLineCode.clear();
    } else if (text[0] < '1' || text[0] > '5') {
        // No reply begins so: noise, whose bytes count toward the reply that follows, so a server
        // sending nothing but noise meets the size; it neither passes for a sign of life nor uses
        // up a tolerance.
        return false;
    } else if (text.size() >= 4 && text[3] == '-') {
        multiLineCode = text.substr(0, 3);
        return false;
    }
    lines.StartReply();
    return true;
}
