#include "net/FTPControlConnection.h"

#include "foundation/Alert.h"
#include "foundation/Checks.h"
#include "foundation/Exception.h"
#include "foundation/MessageException.h"
#include "foundation/UserCancelException.h"
#include "graphics/WinVersion.h"
#include "net/FTPFlags.h"
#include "net/SocketStream.h"
#include "ui/AppMain.h"

#include <winsock.h>

#include <string>

PW_DEFINE_CLASS(FTPControlConnection, nullptr, nullptr, SmartImplementation)
PW_DEFINE_NO_COPY_SLOTS(FTPControlConnection)

std::unique_ptr<SocketStream> cntlStream;

namespace {

// Nothing begins with it: no reply is tolerated.
constexpr const char* kNothingTolerated = "999";
constexpr DWORD kRecordedNoError = 0xFFFF;
constexpr int kClosingReply = 221;
constexpr const char* kServerClosed = "The FTP server closed the connection.";
constexpr const char* kReplyTooLong = "The FTP server sent a reply too long to read.";

FTPControlConnection* current = nullptr;
// The server closed the control connection: noticed once, kept for the next command.
bool serverClosed = false;

void ClearRecordedError(DWORD code)
{
    if (GetLastError() == code)
        SetLastError(0);
}

// The bytes of a string, NULs included.
std::string BytesOf(const String& text)
{
    uint32_t length = 0;
    String::CharIterator chars(text, length);
    return length ? std::string(chars.Chars(), length) : std::string();
}

std::string CommandText(FTPCommand code)
{
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        char c = static_cast<char>((code >> shift) & 0xFF);
        if (c == ' ' || c == '\0')
            break;
        text += c;
    }
    return text;
}

// The main window hands its socket message to this connection's entry.
const bool notifyRegistered = (pw::ui::SetSocketNotify(pw::ui::kControlSocketMessage, &FTPControlConnection::Notify), true);

} // namespace

FTPControlConnection::FTPControlConnection(uint16_t port, const String& host)
    : toleratedReply(kNothingTolerated)
{
    ftpActive = true;
    ftpConnecting = true;
    transferAborted = false;
    sendFailedReported = false;
    dataAccepted = false;
    serverClosed = false;
    pw::net::ForgetNotifiedFailure();
    cntlStream = std::make_unique<SocketStream>(pw::foundation::TextOf(host).c_str(), port,
        SocketStream::kClientMode, !IsWin31Only());
    if (!cntlStream->is_open()) {
        // The destructor does not run for a constructor that fails: undo here what it would.
        DWORD error = GetLastError();
        cntlStream.reset();
        ftpActive = false;
        ftpConnecting = false;
        SetLastError(error);
    }
    CheckCall(cntlStream != nullptr, PW_HERE);
    ftpConnecting = false;
    ClearRecordedError(kRecordedNoError);
    current = this;
    state = kAwaitingReply;
    pw::net::NoteActivity();
}

FTPControlConnection::~FTPControlConnection()
{
    current = nullptr;
    try {
        cntlStream.reset();
    } catch (...) {
    }
    ftpActive = false;
    ftpConnecting = false;
    ClearRecordedError(kRecordedNoError);
    ClearRecordedError(ERROR_INVALID_HANDLE);
}

void FTPControlConnection::SendCommand(FTPCommand code, const String& argument1, const String& argument2,
    const String& tolerated)
{
    WriteLine(code, argument1, argument2);
    toleratedReply = tolerated;
}

void FTPControlConnection::Send(FTPCommand code, const String& argument1, const String& argument2)
{
    if (PollReply())
        WriteLine(code, argument1, argument2);
}

void FTPControlConnection::SendChars(FTPCommand code, char argument1, char argument2)
{
    if (!PollReply())
        return;
    const char one[2] = { argument1, '\0' };
    const char two[2] = { argument2, '\0' };
    WriteLine(code, String(one), String(two));
}

void FTPControlConnection::BeginClosing()
{
    closing = true;
    lastReplyCode = 0;
}

// On the old platform nothing reads the replies but this poll.
bool FTPControlConnection::HasEnded()
{
    if (IsWin31Only() && !transferAborted && !serverClosed && (state & kAwaitingReply))
        ReadReplies(true);
    return transferAborted || serverClosed || lastReplyCode == kClosingReply;
}

void FTPControlConnection::RefuseLineBreaks(const String& argument)
{
    if (BytesOf(argument).find_first_of(std::string("\r\n\0", 3)) != std::string::npos)
        ThrowError("A name for the server holds a line break and cannot be sent.", PW_HERE);
}

// The whole line goes out in one write: the code, each non-empty argument after one blank, CR LF.
void FTPControlConnection::WriteLine(FTPCommand code, const String& argument1, const String& argument2)
{
    std::string line = CommandText(code);
    for (const String* argument : { &argument1, &argument2 }) {
        RefuseLineBreaks(*argument);
        std::string bytes = BytesOf(*argument);
        if (!bytes.empty())
            line += ' ' + bytes;
    }
    if (transferAborted)
        return;
    if (serverClosed) {
        // A close noticed while nothing was awaited fails the next command at once; at the end
        // of the session there is nothing left to say.
        if (closing)
            return;
        transferAborted = true;
        sendFailedReported = true;
        ThrowError(kServerClosed, PW_HERE);
    }
    line += "\r\n";
    cntlStream->write(line.data(), static_cast<std::streamsize>(line.size()));
    cntlStream->flush();
    if (cntlStream->bad())
        transferAborted = true;
    state = (state | kAwaitingReply) & ~kReplyArrived;
    ClearRecordedError(kRecordedNoError);
    pw::net::NoteActivity();
}

bool FTPControlConnection::PollReply()
{
    pw::net::RaiseNotifiedFailure();
    if (transferAborted) {
        if (!sendFailedReported) {
            sendFailedReported = true;
            ThrowError("Send Failed", PW_HERE);
        }
        return true;
    }
    if (IsWin31Only() && (state & kAwaitingReply)) {
        ReadReplies(true);
        pw::net::RaiseNotifiedFailure();
    }
    return !(state & kAwaitingReply);
}

bool FTPControlConnection::IsReplyDone()
{
    if (!IsWin31Only())
        return PollReply() || (state & kReplyArrived);
    if (!dataAccepted)
        return false;
    PollReply();
    return true;
}

void FTPControlConnection::HandleReply(const char* text)
{
    std::string line(text ? text : "");
    if (!replies.EndsReply(line))
        return;

    // A whole reply has come: it, and not the lines on its way, shows the server is alive.
    pw::net::NoteActivity();
    std::string tolerated = BytesOf(toleratedReply);
    bool isTolerated = closing || tolerated.empty() || line.compare(0, tolerated.size(), tolerated) == 0;
    if (line.size() >= 3 && line.find_first_not_of("0123456789") >= 3)
        lastReplyCode = std::stoi(line.substr(0, 3));
    switch (line[0]) {
    case '1':
        state |= kReplyArrived;
        state = IsWin31Only() ? (state & ~kAwaitingReply) : (state | kAwaitingReply);
        break;
    case '2':
    case '3':
        state = (state & ~kAwaitingReply) | kReplyArrived;
        break;
    case '4':
    case '5':
        // The reply has come before the alert runs its loop: a server that closes after refusing,
        // as it may while the refusal shows, has lost no reply, and the refusal alone ends the step.
        state = (state & ~kAwaitingReply) | kReplyArrived;
        if (!isTolerated) {
            Alert(Alert::kStop, Alert::kOk, line.c_str());
            ThrowPointer(SmartPtr<Exception>(new UserCancelException));
        }
        break;
    default:
        break;
    }
    // A tolerance is for its command's final reply alone: a success does not leave it standing
    // for the next refusal, which would then go unseen.
    if (line[0] != '1')
        toleratedReply = String(kNothingTolerated);
}

// Without blocking, one notification takes what the stream holds and at most one receive: the
// platform reports the rest with a new notification, so a server that never stops sending
// cannot hold the message loop. A reply past its size fails the connection.
void FTPControlConnection::ReadReplies(bool blocking)
{
    bool received = false;
    for (;;) {
        if (!cntlStream->HasUnreadInput()) {
            if (!blocking && received)
                return;
            received = true;
        }
        int c = cntlStream->get();
        if (c == std::char_traits<char>::eof()) {
            if (blocking) {
                NoteServerClosed();
                return;
            }
            // Nothing more has come yet: the rest of a line waits for the next notification.
            cntlStream->clear();
            return;
        }
        pw::net::FTPReplyReader::Result taken = replies.Take(static_cast<char>(c));
        if (taken == pw::net::FTPReplyReader::kTooLong) {
            Fail(kReplyTooLong);
            return;
        }
        if (taken == pw::net::FTPReplyReader::kPartial)
            continue;
        HandleReply(replies.TakeLine().c_str());
        if (blocking && !cntlStream->HasUnreadInput())
            return;
    }
}

void FTPControlConnection::Fail(const char* why)
{
    transferAborted = true;
    sendFailedReported = true;
    pw::net::KeepNotifiedFailure(new MessageException(why, PW_HERE));
}

void FTPControlConnection::NoteServerClosed()
{
    serverClosed = true;
    if (!closing && !transferAborted && (state & kAwaitingReply))
        Fail(kServerClosed);
}

uint32_t FTPControlConnection::PeerAddress()
{
    sockaddr_in name {};
    int length = sizeof name;
    CheckCall(getpeername(cntlStream->Socket(), reinterpret_cast<sockaddr*>(&name), &length) == 0, PW_HERE);
    return name.sin_addr.s_addr;
}

uint16_t FTPControlConnection::PeerPort()
{
    sockaddr_in name {};
    int length = sizeof name;
    CheckCall(getpeername(cntlStream->Socket(), reinterpret_cast<sockaddr*>(&name), &length) == 0, PW_HERE);
    return ntohs(name.sin_port);
}

uint16_t FTPControlConnection::LocalPort()
{
    sockaddr_in name {};
    int length = sizeof name;
    CheckCall(getsockname(cntlStream->Socket(), reinterpret_cast<sockaddr*>(&name), &length) == 0, PW_HERE);
    return ntohs(name.sin_port);
}

// Reads on a read event. A close or an error fails the waiting loop at once when a reply is
// awaited, and otherwise the next command: the platform reports it only once.
void FTPControlConnection::Notify(WPARAM socket, LPARAM event)
{
    if (transferAborted)
        return;
    if (IsWin31Only())
        AssertionFailed("!IsWin31()", PW_HERE);
    if (!current || (cntlStream && cntlStream->Socket() != socket))
        return;
    if (event == FD_READ) {
        CheckCall(!cntlStream->fail(), PW_HERE);
        CheckCall(cntlStream->is_open(), PW_HERE);
        try {
            current->ReadReplies(false);
        } catch (Exception* failure) {
            pw::net::KeepNotifiedFailure(failure);
        }
        return;
    }
    if (LOWORD(event) == FD_CLOSE || HIWORD(event) != 0)
        current->NoteServerClosed();
}
