#include "net/MailServerRefusal.h"

namespace pw::net {

namespace {

std::string Words(const std::string& step, const std::string& reply)
{
    if (reply.empty())
        return "The mail server closed the connection at " + step + ".";
    return "The mail server refused " + step + ": " + reply;
}

} // namespace

MailServerRefusal::MailServerRefusal(const std::string& step, const std::string& reply, const char* file, int line)
    : MessageException(Words(step, reply).c_str(), file, line)
    , step(step)
    , reply(reply)
{
}

} // namespace pw::net
