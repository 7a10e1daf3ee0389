#include "net/FTPSession.h"

#include "foundation/Exception.h"
#include "foundation/File.h"
#include "foundation/FileReference.h"
#include "foundation/Stream.h"
#include "foundation/Utilities.h"
#include "net/FTPDataConnection.h"
#include "net/FTPFlags.h"
#include "net/InternetSession.h"
#include "net/SocketStream.h"
#include "ui/ProgressRange.h"

#include <winsock.h>

#include <algorithm>
#include <string>

PW_DEFINE_CLASS(FTPSession, nullptr, nullptr, SmartImplementation)
PW_DEFINE_NO_COPY_SLOTS(FTPSession)

namespace {

// The transfer command of each mode.
constexpr FTPCommand kTransferCommands[] = { kSTOR, kAPPE, kSTOR, kSTOR };
constexpr int kRandomNameMode = 3;
constexpr int kPasswordWanted = 331;
// Notifications handed on per round of a wait: a transfer posts its next block itself, so taking
// every one would hold the wait until the whole file went.
constexpr int kNoticesPerRound = 16;

DWORD waitLimit = pw::net::kDefaultWaitLimitMs;
// How long closing waits for the server's goodbye: every transfer has been answered by then, so a
// server slow to say it costs the child no more than this.
constexpr DWORD kClosingLimitMs = 2000;

// Hands waiting socket notifications on until `done` holds, and answers it. The dialog serves the
// queue only every 100 ms, which would cost a tenth of a second per reply; the notifications are
// taken here at once. A retrieval that finds nothing gives the sockets a short real wait that ends
// when one is ready, so a waiting loop neither spins nor sleeps past a reply. The range between
// the two notification messages holds only the framework's start message, which any pump would
// dispatch as well.
template <typename Done>
bool ServeSocketNoticesUntil(Done done)
{
    MSG msg;
    for (int i = 0; i < kNoticesPerRound; ++i) {
        if (done())
            return true;
        if (!PeekMessageA(&msg, nullptr, SocketStream::kListenerMessage, SocketStream::kClientMessage, PM_REMOVE))
            break;
        DispatchMessageA(&msg);
    }
    return done();
}

// Fails a conversation that has been silent too long while something is outstanding. Later
// polls pass at once, as after any failure of the streams.
void CheckSilence()
{
    if (GetTickCount() - pw::net::LastActivity() <= waitLimit)
        return;
    transferAborted = true;
    sendFailedReported = true;
    ThrowError("The FTP server stopped answering.", PW_HERE);
}

// Waits until `done` holds; the range's Stop raises the user-cancel exception.
template <typename Done>
void Wait(ProgressRange& range, Done done)
{
    while (!ServeSocketNoticesUntil(done)) {
        CheckSilence();
        range.Advance(0);
    }
}

} // namespace

FTPSession::FTPSession(const SmartPtr<InternetSession>& server, const String& user, const String& password,
    uint16_t port)
    : server(server)
{
    ProgressRange range(2, String("Opening ftp session"));
    range.Advance(1);
    ProgressRange::SetVisible(true);
    connections.control = SmartPtr<FTPControlConnection>(new FTPControlConnection(port, server->HostName()));
    FTPControlConnection& control = *connections.control.Get();
    Wait(range, [&] { return control.PollReply(); });
    serverAddress = control.PeerAddress();
    serverPort = control.PeerPort();
    localPort = control.LocalPort();
    range.Advance(1);
    control.Send(kUSER, user, String());
    Wait(range, [&] { return control.PollReply(); });
    // A password goes only to a server that asked for one: after any other reply it would be
    // read as a command, or land in a log.
    if (control.LastReplyCode() == kPasswordWanted)
        control.Send(kPASS, password, String());
}

// A session is often released while a failure unwinds to the caller; whatever closing raises is
// dropped here, and the failure on its way stays alive (ThrowPointer keeps it).
FTPSession::~FTPSession()
{
    try {
        Close();
    } catch (Exception*) {
        CurrentException() = SmartPtr<Exception>();
    } catch (...) {
    }
    connections.data = SmartPtr<FTPDataConnection>();
    connections.control = SmartPtr<FTPControlConnection>();
}

// A transfer still under way is cut off first: ABOR, and its data connection closes. QUIT's 221
// is awaited so that the server sees the session end before the connection does, but only
// briefly and without raising anything: Stop, no goodbye within kClosingLimitMs (or the wait
// limit, when shorter) or a failed connection just end the wait.
void FTPSession::Close()
{
    if (!connections.control.Valid())
        return;
    FTPControlConnection& control = *connections.control.Get();
    control.BeginClosing();
    if (connections.data.Valid()) {
        control.SendCommand(kABOR, String(), String(), String());
        connections.data = SmartPtr<FTPDataConnection>();
    }
    control.SendCommand(kQUIT, String(), String(), String());
    // A range opened after a Stop would put a fresh dialog in place of the stopped one.
    if (ProgressRange::WasStopped())
        return;
    ProgressRange range(1, String("Closing ftp session"));
    DWORD start = GetTickCount();
    DWORD limit = std::min<DWORD>(waitLimit, kClosingLimitMs);
    while (!ProgressRange::WasStopped() && !ServeSocketNoticesUntil([&] { return control.HasEnded(); })) {
        if (GetTickCount() - start > limit)
            return;
        range.Update();
    }
}

void FTPSession::SetDirectory(const String& path, bool create)
{
    ProgressRange range(1, String("Setting directory"));
    range.Advance(1);
    FTPControlConnection& control = *connections.control.Get();
    std::string text = pw::foundation::TextOf(path);
    String folder(path);
    if (text.size() >= 2 && text[0] != '~' && text[1] == '~')
        folder = String(text.substr(1).c_str());
    FTPControlConnection::RefuseLineBreaks(path);
    if (create)
        control.SendCommand(kMKD, path, String(), String("55"));
    Wait(range, [&] { return control.PollReply(); });
    control.Send(kCWD, folder, String());
}

void FTPSession::SendFile(const FileReference& file, const String& remoteName, bool binary, int mode)
{
    ProgressRange range(1, String("Sending file"));
    range.Advance(1);
    SmartPtr<Stream> stream(new File(file, File::kRead));
    PutFile(stream, remoteName, binary, mode);
}

void FTPSession::PutFile(const SmartPtr<Stream>& stream, const String& remoteName, bool binary, int mode)
{
    ASSERT(mode >= 0 && mode <= kRandomNameMode);
    FTPControlConnection::RefuseLineBreaks(remoteName);
    if (!DoTransfer())
        return;
    ProgressRange range(10, String("Removing old files"));
    range.Advance(1);
    range.Advance(9);
    String name(remoteName);
    if (mode == kRandomNameMode)
        name.AppendChars(std::to_string(Random(1000, 9999)).c_str());
    StartTransfer(kTransferCommands[mode], stream, name, binary);
}

void FTPSession::StartTransfer(FTPCommand command, const SmartPtr<Stream>& stream, const String& remoteName,
    bool binary)
{
    if (!DoTransfer())
        return;
    ProgressRange range(1, String("Initiating transfer"));
    range.Advance(1);
    FTPControlConnection& control = *connections.control.Get();
    connections.data = SmartPtr<FTPDataConnection>(new FTPDataConnection(serverAddress, stream, command != kRETR));
    try {
        range.Advance(0);
        control.SendChars(kTYPE, binary ? 'I' : 'A', '\0');
        Wait(range, [&] { return control.PollReply(); });
        control.Send(kPORT, PortText(), String());
        Wait(range, [&] { return control.PollReply(); });
        control.Send(command, remoteName, String());
        Wait(range, [&] { return control.IsReplyDone(); });
    } catch (...) {
        // A transfer that never started leaves nothing for ABOR to cut off.
        connections.data = SmartPtr<FTPDataConnection>();
        throw;
    }
    connections.data->StartSending();
}

String FTPSession::PortText()
{
    uint32_t address = connections.data->LocalAddress();
    uint16_t port = connections.data->DataPort();
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8)
        text += std::to_string((address >> shift) & 0xFF) + ",";
    text += std::to_string(port >> 8) + "," + std::to_string(port & 0xFF);
    return String(text.c_str());
}

bool FTPSession::DoTransfer()
{
    try {
        bool idle = ServeSocketNoticesUntil([&] {
            return connections.control->PollReply()
                && (!connections.data.Valid() || connections.data->IsTransferDone());
        });
        if (!idle) {
            CheckSilence();
            return false;
        }
    } catch (...) {
        // The server refused or ended the transfer, or the connection failed: nothing of it is
        // left for ABOR to cut off.
        connections.data = SmartPtr<FTPDataConnection>();
        throw;
    }
    connections.data = SmartPtr<FTPDataConnection>();
    return true;
}

void pw::net::testing::SetWaitLimit(DWORD ms)
{
    waitLimit = ms;
}
