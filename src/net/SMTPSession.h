// One mail over one SMTP conversation, for the caller: the constructor starts connecting,
// SendMessage hands over the message with its sender and recipient, and IsDone tells when the
// current step has finished, raising the failure of a step that failed. The talking is done by
// the session's worker chore while the caller waits in progress loops.
#pragma once

#include "foundation/SmartImplementation.h"
#include "foundation/SmartPtr.h"
#include "foundation/String.h"
#include "net/SMTPThread.h"

#include <cstdint>

class InternetSession;
class Stream;

class SMTPSession : public SmartImplementation {
    PW_CLASS_INFO(SMTPSession)
    PW_COPY_SLOTS

public:
    // Queues the connection and returns at once. `mailServer` is the configured mail host (empty:
    // none) and must outlive the session; `port` is 25 but in tests.
    SMTPSession(const SmartPtr<InternetSession>& server, const String& mailServer,
        uint16_t port = SMTPThread::kSMTPPort);
    // Closes a connection that is still open (RSET, QUIT).
    ~SMTPSession() override;
    SMTPSession(const SMTPSession&) = delete;
    SMTPSession& operator=(const SMTPSession&) = delete;

    // Raises the failure of the last step; otherwise whether it has finished.
    bool IsDone();
    // Sends the message (positioned at its start) from one address to another: MAIL FROM, RCPT
    // TO and DATA are waited for here; the end of the message is queued and the caller waits
    // for it with IsDone. Does nothing while a step still runs. An address holding a line break
    // or an angle bracket, and a message with a line longer than servers take, are refused before
    // anything is sent.
    void SendMessage(const SmartPtr<Stream>& message, const String& from, const String& to);

private:
    SmartPtr<SMTPThread> worker;
    SmartPtr<InternetSession> server;
};
