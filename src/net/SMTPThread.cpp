#include "net/SMTPThread.h"

#include "foundation/Checks.h"
#include "foundation/Stream.h"
#include "foundation/UserCancelException.h"
#include "net/MailServerRefusal.h"
#include "net/SMTPReplyReader.h"
#include "net/SocketStream.h"
#include "ui/ProgressDialog.h"
#include "ui/ProgressRange.h"

#include <winsock.h>

#include <algorithm>
#include <optional>
#include <vector>

namespace {

constexpr int kHelloAccepted = 250;
constexpr int kActionDone = 250;
constexpr int kForwarded = 251;
constexpr int kStartInput = 354;
constexpr int kClosing = 221;
// The longest one receive waits before the message loop gets its turn again.
constexpr DWORD kReceiveSliceMs = 50;
// The message goes out in pieces of this size.
constexpr uint32_t kPieceSize = 256;
// Where the search begins when no mail server is configured: this machine.
constexpr const char* kLocalMachine = "127.0.0.1";

DWORD replyLimit = pw::net::kDefaultReplyLimitMs;

// The bytes of a string, NULs included.
std::string BytesOf(const String& text)
{
    uint32_t length = 0;
    String::CharIterator chars(text, length);
    return length ? std::string(chars.Chars(), length) : std::string();
}

// Marks the worker done however the step ends.
class DoneGuard {
public:
    explicit DoneGuard(SMTPThread& thread)
        : thread(thread)
    {
        if (thread.IsDone())
            AssertionFailed("!thread->IsDone()", PW_HERE);
    }
    ~DoneGuard() { thread.SetDone(true); }
    DoneGuard(const DoneGuard&) = delete;
    DoneGuard& operator=(const DoneGuard&) = delete;

private:
    SMTPThread& thread;
};

// Turns the message into what DATA carries: every line ended by CR LF (a lone CR or LF becomes
// one) and a dot that begins a line doubled, so no line of the message can end the data early.
// Pieces may split a line anywhere; the state carries over.
class MailBodyEncoder {
public:
    std::string Encode(const char* bytes, size_t count)
    {
        std::string out;
        out.reserve(count + count / 8 + 2);
        for (size_t i = 0; i < count; ++i) {
            char c = bytes[i];
            if (c == '\n') {
                if (!afterCR)
                    out += '\r';
                out += '\n';
                afterCR = false;
                atLineStart = true;
                continue;
            }
            if (afterCR) {
                out += '\n';
                atLineStart = true;
            }
            afterCR = c == '\r';
            if (afterCR) {
                out += '\r';
                continue;
            }
            if (atLineStart && c == '.')
                out += '.';
            out += c;
            atLineStart = false;
        }
        return out;
    }

    // Completes a CR that ended the message.
    std::string Finish() { return afterCR ? std::string("\n") : std::string(); }

private:
    bool atLineStart { true };
    bool afterCR { false };
};

// The wait for one reply, counted from its first read (the command has just gone): a deadline for
// the whole reply, however its bytes arrive. Between receives the message loop runs as
// in the caller's waits, so the progress dialog stays live and its Stop ends the wait (the
// user-cancel exception). A reply that breaks the deadline or its size leaves the connection failed, so
// nothing more is written to it or awaited from it.
class ReplyWait {
public:
    ReplyWait(std::istream& from, DWORD limit)
        : from(from)
        , start(GetTickCount())
        , limit(limit)
    {
        if (ProgressRange::WasStopped())
            stopped = true;
        else if (ProgressRange::CurrentDialog().Valid())
            loop.emplace(0, String("Waiting for the mail server"));
    }

    // Before a receive: the deadline, then the message loop's turn.
    void Turn()
    {
        if (GetTickCount() - start > limit)
            Fail("The mail server stopped answering.");
        if (stopped)
            ThrowPointer(SmartPtr<Exception>(new UserCancelException));
        if (loop)
            loop->Advance(0);
    }

    [[noreturn]] void Fail(const char* why)
    {
        from.setstate(std::ios::badbit);
        ThrowError(why, PW_HERE);
    }

private:
    std::istream& from;
    DWORD start;
    DWORD limit;
    bool stopped { false };
    std::optional<ProgressRange> loop;
};

} // namespace

SMTPThread::SMTPThread(const String& mailServer, uint16_t port)
    : Chore(kPeriodMs, true, 0)
    , mailServer(mailServer)
    , port(port)
{
}

SMTPThread::~SMTPThread()
{
    try {
        if (stream)
            Abort();
    } catch (...) {
    }
    stream.reset();
    SetDone(true);
}

void SMTPThread::NewRequest(int32_t newRequest, const SmartPtr<Smart>& newData)
{
    if (!isDone)
        AssertionFailed("isDone", PW_HERE);
    SetDone(false);
    data = newData;
    request = newRequest;
}

void SMTPThread::Step()
{
    if (request == kNone)
        return;
    int32_t newRequest = request;
    request = kNone;
    DoneGuard guard(*this);
    try {
        if (newRequest != kConnect && !stream)
            AssertionFailed("newRequest == kConnect || stream != NULL", PW_HERE);
        const String* infoString = data.Valid() ? SmartCast<String>(data.Get()) : nullptr;
        RunRequest(newRequest, infoString);
    } catch (Exception* failure) {
        SetException(failure);
        if (stream)
            Abort();
    }
    SetLastError(0);
}

void SMTPThread::RunRequest(int32_t newRequest, const String* infoString)
{
    std::string text = infoString ? BytesOf(*infoString) : std::string();
    switch (newRequest) {
    case kConnect: {
        stream = FindMailServer();
        CheckNotNull(stream.get(), PW_HERE);
        char address[16];
        CheckNotNull(stream->PeerName(address, sizeof address), PW_HERE);
        Write(std::string("HELO ") + address);
        EndLine();
        ExpectReply(ReadReply(stream.get()) == kHelloAccepted, "HELO");
        break;
    }
    case kMailFrom:
    case kRcptTo: {
        RefuseUnsafeAddress(infoString ? *infoString : String());
        Write((newRequest == kMailFrom ? "MAIL FROM:<" : "RCPT TO:<") + text + ">");
        EndLine();
        int code = ReadReply(stream.get());
        ExpectReply(code == kActionDone || (newRequest == kRcptTo && code == kForwarded),
            newRequest == kMailFrom ? "MAIL FROM" : "RCPT TO");
        break;
    }
    case kData: {
        if (infoString)
            AssertionFailed("infoString == NULL", PW_HERE);
        Stream* message = data.Valid() ? SmartCast<Stream>(data.Get()) : nullptr;
        CheckNotNull(message, PW_HERE);
        SendMessageBody(*message);
        break;
    }
    case kEndMessage:
        Write(".");
        EndLine();
        ExpectReply(ReadReply(stream.get()) == kActionDone, "the message");
        Write("QUIT");
        EndLine();
        ExpectReply(ReadReply(stream.get()) == kClosing, "QUIT");
        stream.reset();
        break;
    default:
        Exception::Warn(kNotImplemented, PW_HERE);
        break;
    }
}

void SMTPThread::SendMessageBody(Stream& message)
{
    Write("DATA");
    EndLine();
    ExpectReply(ReadReply(stream.get()) == kStartInput, "DATA");
    MailBodyEncoder encoder;
    char piece[kPieceSize];
    while (!message.AtEnd()) {
        uint32_t count = std::min(message.GetLength() - message.GetMark(), kPieceSize);
        message.Read(piece, count);
        Write(encoder.Encode(piece, count));
        stream->flush();
    }
    Write(encoder.Finish());
    EndLine();
}

bool SMTPThread::PollDone()
{
    if (pendingFailure.Valid())
        ThrowPointer(pendingFailure);
    return isDone;
}

void SMTPThread::SetException(Exception* failure)
{
    pendingFailure = SmartPtr<Exception>(failure);
}

void SMTPThread::SetDone(bool done)
{
    if (!done)
        pendingFailure = SmartPtr<Exception>();
    isDone = done;
}

void SMTPThread::Write(const std::string& text)
{
    stream->write(text.data(), static_cast<std::streamsize>(text.size()));
}

void SMTPThread::EndLine()
{
    Write("\r\n");
    stream->flush();
}

// A wrong code, a line that is no reply or a broken connection: the refusal names the step and
// carries the server's line (none for a closed connection). A socket error recorded on the way
// says less than that, so it is dropped.
void SMTPThread::ExpectReply(bool accepted, const char* step)
{
    SetLastError(0);
    if (!accepted)
        ThrowPointer(SmartPtr<Exception>(new pw::net::MailServerRefusal(step, lastReply, PW_HERE)));
}

// After a time-out, an endless reply or a broken connection the stream has failed: nothing more
// is written and no reply is awaited, so the close costs no second wait. After a Stop the
// replies are not awaited either.
void SMTPThread::Abort()
{
    if (!stream)
        AssertionFailed("stream", PW_HERE);
    for (const char* command : { "RSET", "QUIT" }) {
        Write(command);
        EndLine();
        try {
            ReadReply(stream.get());
        } catch (Exception*) {
        }
    }
    stream.reset();
}

int SMTPThread::ReadReply(SocketStream* from)
{
    if (!from)
        AssertionFailed("stream != NULL", PW_HERE);
    // A connection that breaks, even within a reply, has no reply to show; a line that is no
    // reply is kept to be shown.
    ReplyWait wait(*from, replyLimit);
    pw::net::SMTPReplyReader reader;
    lastReply.clear();
    if (!from->good())
        return -1;
    for (;;) {
        if (!from->HasUnreadInput())
            wait.Turn();
        SetLastError(0);
        int c = from->get();
        if (c == std::char_traits<char>::eof()) {
            // A receive that waited its slice in vain is no failure: the wait takes its turn.
            if (GetLastError() != WSAETIMEDOUT)
                return -1;
            from->clear();
            continue;
        }
        switch (reader.Take(static_cast<char>(c))) {
        case pw::net::SMTPReplyReader::kPartial:
            break;
        case pw::net::SMTPReplyReader::kTooLong:
            wait.Fail("The mail server sent a reply too long to read.");
        case pw::net::SMTPReplyReader::kNoReply:
            lastReply = reader.Line();
            return -1;
        case pw::net::SMTPReplyReader::kReply:
            lastReply = reader.Line();
            return reader.Code();
        }
    }
}

std::unique_ptr<SocketStream> SMTPThread::FindMailServer()
{
    std::string configured = BytesOf(mailServer);
    const std::vector<std::string> hosts {
        configured.empty() ? std::string(kLocalMachine) : configured,
        "smtp",
        "mail",
        pw::net::kFallbackMailHost,
    };
    for (const std::string& host : hosts) {
        if (std::unique_ptr<SocketStream> found = OpenMailStream(host.c_str()))
            return found;
    }
    ThrowError("No Mail Server found", PW_HERE);
}

// The greeting is read whatever its code: a server that refuses shows it at HELO.
std::unique_ptr<SocketStream> SMTPThread::OpenMailStream(const char* host)
{
    auto opened = std::make_unique<SocketStream>(host, port, SocketStream::kClientMode, false);
    if (!opened->good() || !opened->is_open())
        return nullptr;
    DWORD slice = kReceiveSliceMs;
    setsockopt(opened->Socket(), SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&slice), sizeof slice);
    ReadReply(opened.get());
    return opened;
}

void SMTPThread::RefuseUnsafeAddress(const String& address)
{
    if (BytesOf(address).find_first_of(std::string("\r\n\0<>", 5)) != std::string::npos)
        ThrowError("A mail address holds a line break or an angle bracket and cannot be sent.", PW_HERE);
}

// Reads the message through once, in the pieces DATA uses, and leaves it where it was.
void SMTPThread::RefuseLongLines(Stream& message)
{
    uint32_t start = message.GetMark();
    size_t lineLength = 0;
    char piece[kPieceSize];
    while (!message.AtEnd()) {
        uint32_t count = std::min(message.GetLength() - message.GetMark(), kPieceSize);
        message.Read(piece, count);
        for (uint32_t i = 0; i < count; ++i) {
            lineLength = piece[i] == '\r' || piece[i] == '\n' ? 0 : lineLength + 1;
            if (lineLength > pw::net::kMaxMailLine) {
                message.Seek(static_cast<int32_t>(start), Stream::kFromStart);
                ThrowError("A line of the mail is longer than 998 characters and cannot be sent.", PW_HERE);
            }
        }
    }
    message.Seek(static_cast<int32_t>(start), Stream::kFromStart);
}

void pw::net::testing::SetReplyLimit(DWORD ms)
{
    replyLimit = ms;
}
