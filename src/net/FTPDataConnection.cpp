#include "net/FTPDataConnection.h"

#include "foundation/Checks.h"
#include "foundation/Exception.h"
#include "foundation/Stream.h"
#include "net/FTPControlConnection.h"
#include "net/FTPFlags.h"
#include "net/SocketStream.h"
#include "ui/AppMain.h"

#include <winsock.h>

#include <algorithm>
#include <string>

PW_DEFINE_CLASS(FTPDataConnection, nullptr, nullptr, SmartImplementation)
PW_DEFINE_NO_COPY_SLOTS(FTPDataConnection)

std::unique_ptr<SocketStream> dataStream;

namespace {

constexpr DWORD kRecordedNoError = 0xFFFF;

FTPDataConnection* current = nullptr;
// The session asked for the bytes to go.
bool sendStarted = false;

bool IsError(LPARAM event)
{
    return HIWORD(event) != 0;
}

void PostWriteEvent()
{
    PostMessageA(SocketStream::MainWindow(), SocketStream::kListenerMessage, dataStream->Socket(), FD_WRITE);
}

// The main window hands its socket message to this connection's entry.
const bool notifyRegistered = (pw::ui::SetSocketNotify(pw::ui::kDataSocketMessage, &FTPDataConnection::Notify), true);

} // namespace

FTPDataConnection::FTPDataConnection(uint32_t serverAddress, const SmartPtr<Stream>& stream, bool sending)
    : stream(stream)
    , state(sending ? kSending : 0)
    , buffer(sending ? new char[kBlockSize] : nullptr)
    , length(stream->GetLength())
    , serverAddress(serverAddress)
{
    // The listener waits only where the control connection runs, never on every interface.
    in_addr local {};
    local.s_addr = htonl(LocalAddress());
    std::string host = inet_ntoa(local);
    if (!dataStream) {
        dataStream = std::make_unique<SocketStream>(host.c_str(), 0, 0, true);
    } else {
        CheckCall(!dataStream->is_open(), PW_HERE);
        dataStream->clear();
        dataStream->Open(host.c_str(), 0, 0, true);
    }
    CheckCall(dataStream->is_open(), PW_HERE);
    current = this;
    dataAccepted = false;
}

FTPDataConnection::~FTPDataConnection()
{
    try {
        dataStream.reset();
    } catch (...) {
    }
    sendStarted = false;
    current = nullptr;
    state &= ~kSending;
    buffer.reset();
}

uint32_t FTPDataConnection::LocalAddress()
{
    sockaddr_in name {};
    int size = sizeof name;
    CheckCall(cntlStream && getsockname(cntlStream->Socket(), reinterpret_cast<sockaddr*>(&name), &size) == 0,
        PW_HERE);
    // An unconnected control socket reports no address; PORT 0,0,0,0 would send the server nowhere.
    CheckCall(name.sin_addr.s_addr != INADDR_ANY, PW_HERE);
    return ntohl(name.sin_addr.s_addr);
}

uint16_t FTPDataConnection::DataPort()
{
    sockaddr_in name {};
    int size = sizeof name;
    if (!dataStream || getsockname(dataStream->Socket(), reinterpret_cast<sockaddr*>(&name), &size) != 0)
        ThrowError("Cannot get sock name.", PW_HERE);
    return ntohs(name.sin_port);
}

void FTPDataConnection::StartSending()
{
    sendStarted = true;
    PostWriteEvent();
}

bool FTPDataConnection::IsTransferDone()
{
    pw::net::RaiseNotifiedFailure();
    if (transferAborted) {
        if (!sendFailedReported) {
            sendFailedReported = true;
            ThrowError("Send Failed", PW_HERE);
        }
        return true;
    }
    if (GetLastError() == kRecordedNoError)
        SetLastError(0);
    if (dataStream && dataStream->fail()) {
        transferAborted = true;
        return true;
    }
    return (state & kTransferDone) != 0;
}

// Failures inside the notification are kept for the session's next poll: the window procedure
// would only show them, and the waiting loop would go on waiting.
void FTPDataConnection::Notify(WPARAM socket, LPARAM event)
{
    if (transferAborted || !current || (dataStream && dataStream->Socket() != socket))
        return;
    try {
        current->HandleEvent(event);
    } catch (Exception* failure) {
        pw::net::KeepNotifiedFailure(failure);
    }
}

void FTPDataConnection::HandleEvent(LPARAM event)
{
    if (state & kTransferDone)
        return;
    if (event == FD_ACCEPT) {
        AcceptServer();
    } else if (event == FD_WRITE) {
        // The write event that follows the accept comes before the session asked for the bytes.
        if (sendStarted && dataAccepted && (state & kSending))
            SendMore();
    } else if (dataAccepted && LOWORD(event) == FD_CLOSE && !IsError(event) && !(state & kSending)) {
        // A received file ends when the server closes.
        Finish();
    } else if (LOWORD(event) == FD_CLOSE || IsError(event)) {
        // The server went before the stream did: the transfer cannot complete.
        dataStream->setstate(std::ios::badbit);
        transferAborted = true;
    }
}

void FTPDataConnection::AcceptServer()
{
    sockaddr_in peer {};
    int size = sizeof peer;
    SOCKET listener = dataStream->Socket();
    SOCKET accepted = accept(listener, reinterpret_cast<sockaddr*>(&peer), &size);
    CheckCall(accepted != INVALID_SOCKET, PW_HERE);
    if (peer.sin_addr.s_addr != serverAddress) {
        // Not the server: refused, and the listener waits on.
        closesocket(accepted);
        return;
    }
    dataStream->SetSocket(accepted);
    CheckCall(closesocket(listener) == 0, PW_HERE);
    dataAccepted = true;
    pw::net::NoteActivity();
}

void FTPDataConnection::SendMore()
{
    if (sent == filled) {
        uint32_t mark = stream->GetMark();
        if (mark >= length) {
            // Everything went: a graceful close lets the system deliver the rest while the
            // server's final reply confirms the transfer.
            dataStream->Close();
            Finish();
            return;
        }
        filled = std::min(kBlockSize, length - mark);
        sent = 0;
        stream->Read(buffer.get(), filled);
    }
    while (sent < filled) {
        int n = send(dataStream->Socket(), buffer.get() + sent, static_cast<int>(filled - sent), 0);
        if (n == SOCKET_ERROR) {
            // A full socket reports room with a new write event; anything else ends the transfer.
            if (WSAGetLastError() == WSAEWOULDBLOCK) {
                SetLastError(0);
                return;
            }
            dataStream->setstate(std::ios::badbit);
            transferAborted = true;
            return;
        }
        sent += static_cast<uint32_t>(n);
        pw::net::NoteActivity();
    }
    // The next block goes when this message comes round, after what waits in the queue.
    PostWriteEvent();
}

void FTPDataConnection::Finish()
{
    if (!(state & kSending))
        stream->SetLength(stream->GetMark());
    state |= kTransferDone;
    pw::net::NoteActivity();
}
