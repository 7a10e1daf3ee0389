// A mail server's refusal of one step of the conversation: a 4xx or 5xx reply, a reply that is no
// reply, or a connection the server closed. The message names the step and carries the server's
// own reply line, as the FTP client's alerts do; the caller (publishing) can also take the step
// and the reply apart. Raised by the SMTP worker and kept pending until the caller polls.
#pragma once

#include "foundation/MessageException.h"

#include <string>

namespace pw::net {

class MailServerRefusal : public MessageException {
public:
    // `reply` is the server's reply line without its line end; empty when the connection closed.
    MailServerRefusal(const std::string& step, const std::string& reply, const char* file, int line);

    // The command that was refused: "HELO", "MAIL FROM", "RCPT TO", "DATA", "the message", "QUIT".
    const std::string& Step() const { return step; }
    const std::string& Reply() const { return reply; }

private:
    std::string step;
    std::string reply;
};

} // namespace pw::net
