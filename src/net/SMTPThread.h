// The worker of an SMTP conversation: a chore of 100 ms that runs one queued request per tick, each
// request being one command with its reply check. The caller queues a request, then polls
// PollDone in a progress loop while the ticks do the talking. A request that fails is held as the
// pending failure, which PollDone raises in the caller until the next request is queued; a failure
// with an open connection also sends RSET and QUIT and closes it.
//
// A command's reply is read within its tick, but the message loop keeps running while it comes in
// (the socket's receives wait a short slice each), so the progress dialog stays live and its Stop
// ends the request. A reply must come whole within the reply limit, counted from the command, and
// within a size no real reply reaches; a server that drips, floods or stays silent fails the
// request instead of holding the program. Destroying the worker closes an open connection the same
// way a failure does.
#pragma once

#include "foundation/Chore.h"
#include "foundation/Exception.h"
#include "foundation/SmartPtr.h"
#include "foundation/String.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

class SocketStream;
class Stream;

class SMTPThread : public Chore {
public:
    enum Request : int32_t {
        kNone = 0,
        kConnect = 1, // find a server, then HELO
        kMailFrom = 2, // data: the sender String
        kRcptTo = 3, // data: the recipient String
        kData = 4, // data: the message Stream, at its start
        kEndMessage = 5, // ".", then QUIT
    };

    static constexpr uint16_t kSMTPPort = 25;
    static constexpr uint32_t kPeriodMs = 100;

    // `mailServer` is the caller's and must outlive the worker; empty means none configured.
    // `port` is the servers' port (25 but in tests).
    explicit SMTPThread(const String& mailServer, uint16_t port = kSMTPPort);
    ~SMTPThread() override;
    SMTPThread(const SMTPThread&) = delete;
    SMTPThread& operator=(const SMTPThread&) = delete;

    void Perform() override { Step(); }

    // Queues a request; the previous one must have finished (assertion "isDone").
    virtual void NewRequest(int32_t request, const SmartPtr<Smart>& data);
    // Runs the queued request, if any.
    virtual void Step();
    // Raises the pending failure (which stays pending); otherwise whether no request is queued or
    // running.
    virtual bool PollDone();
    virtual void SetException(Exception* failure);
    virtual bool IsDone() { return isDone; }
    // false also forgets the pending failure.
    virtual void SetDone(bool done);
    // CR LF, and everything written goes out.
    virtual void EndLine();
    // RSET and QUIT, their replies read and ignored, then the connection closes.
    virtual void Abort();
    // The code of the next reply (of a multi-line reply, its last line), or -1 when the connection
    // is broken or the line is no reply. Raises when the reply has not come whole within the reply
    // limit or grows past any real reply, and on the progress dialog's Stop.
    virtual int ReadReply(SocketStream* from);
    // A connected stream that has been greeted, or raises "No Mail Server found".
    virtual std::unique_ptr<SocketStream> FindMailServer();
    // A connected stream to the host whose greeting was read, or none.
    virtual std::unique_ptr<SocketStream> OpenMailStream(const char* host);

    // Raises an error for an address that holds CR, LF, NUL, "<" or ">", which would end or
    // bend the command line it goes into.
    static void RefuseUnsafeAddress(const String& address);
    // Raises an error for a message holding a line longer than kMaxMailLine, which servers refuse
    // whole; the message is left at the place it was.
    static void RefuseLongLines(Stream& message);

private:
    void RunRequest(int32_t request, const String* infoString);
    void Write(const std::string& text);
    // Raises a pw::net::MailServerRefusal for `step` with the last reply unless accepted.
    void ExpectReply(bool accepted, const char* step);
    void SendMessageBody(Stream& message);

    std::unique_ptr<SocketStream> stream;
    SmartPtr<Smart> data;
    int32_t request { kNone };
    bool isDone { true };
    SmartPtr<Exception> pendingFailure;
    // The last reply line read, without its line end; empty when the connection broke.
    std::string lastReply;
    const String& mailServer;
    uint16_t port;
};

namespace pw::net {

// The longest line a mail may hold, its line end not counted.
constexpr size_t kMaxMailLine = 998;
// How long one reply, all its lines, may keep the worker waiting.
constexpr DWORD kDefaultReplyLimitMs = 60'000;
// The built-in last mail host to try: a reserved name that never resolves, so mail never goes to
// a guessed host on the internet.
inline constexpr const char* kFallbackMailHost = "smtp.invalid";

} // namespace pw::net

namespace pw::net::testing {

// Sets the wait for one reply; kDefaultReplyLimitMs restores it.
void SetReplyLimit(DWORD ms);

} // namespace pw::net::testing
