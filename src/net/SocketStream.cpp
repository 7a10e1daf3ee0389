#include "net/SocketStream.h"

#include "foundation/Checks.h"
#include "foundation/Exception.h"
#include "net/FTPFlags.h"

#include <cstring>

namespace {

constexpr LONG kAllEvents = FD_READ | FD_WRITE | FD_OOB | FD_ACCEPT | FD_CONNECT | FD_CLOSE;

sockaddr_in MakeAddress(uint32_t networkAddress, u_short networkPort)
{
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_port = networkPort;
    address.sin_addr.s_addr = networkAddress;
    return address;
}

// The first address of a name or dotted address; raises "Cannot resolve remote server." when there
// is none.
uint32_t FirstAddress(const char* host)
{
    hostent* entry = host ? gethostbyname(host) : nullptr;
    if (!entry)
        ThrowError("Cannot resolve remote server.", PW_HERE);
    uint32_t first;
    std::memcpy(&first, entry->h_addr, sizeof first);
    return first;
}

} // namespace

// Looked up again when the one found has gone, so a stream opened after a new main window was
// made (as in each test) reports to the live one.
HWND SocketStream::MainWindow()
{
    static HWND mainWindow = nullptr;
    if (!mainWindow || !IsWindow(mainWindow))
        mainWindow = FindWindowA("MainWClass", nullptr);
    return mainWindow;
}

SocketStream::SocketStream(const char* host, int port, int mode, bool notify)
    : std::iostream(nullptr)
    , buffer(&socket)
{
    rdbuf(&buffer);
    WSADATA data;
    WSAStartup(0x0101, &data);
    Open(host, port, mode, notify);
}

SocketStream::~SocketStream()
{
    Close();
    WSACleanup();
}

void SocketStream::Open(const char* host, int port, int mode, bool notify)
{
    if (is_open())
        Close();
    try {
        OpenOrThrow(host, port, mode, notify);
    } catch (Exception*) {
        // The caller finds the stream closed and reports; the Winsock error stays for it.
        ftpConnecting = false;
        int error = WSAGetLastError();
        Close();
        SetLastError(static_cast<DWORD>(error));
    }
}

void SocketStream::OpenOrThrow(const char* host, int port, int mode, bool notify)
{
    HWND window = MainWindow();
    socket = ::socket(AF_INET, SOCK_STREAM, 0);
    if (socket == INVALID_SOCKET)
        ThrowError("Socket creation error.", PW_HERE);
    bool client = mode == kClientMode;
    // A listener named a host waits on that address alone (the data connection listens only
    // where the control connection runs); otherwise on every interface.
    uint32_t localAddress = INADDR_ANY;
    if (!client && host && *host)
        localAddress = FirstAddress(host);
    sockaddr_in local = MakeAddress(localAddress, client ? 0 : htons(static_cast<u_short>(port)));
    if (bind(socket, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0)
        ThrowError("Binding error.", PW_HERE);
    if (client) {
        sockaddr_in remote = MakeAddress(FirstAddress(host), htons(static_cast<u_short>(port)));
        if (connect(socket, reinterpret_cast<sockaddr*>(&remote), sizeof remote) != 0)
            ThrowError("Connection error.", PW_HERE);
        if (notify)
            CheckCall(WSAAsyncSelect(socket, window, kClientMessage, kAllEvents) == 0, PW_HERE);
        return;
    }
    if (notify)
        CheckCall(WSAAsyncSelect(socket, window, kListenerMessage, kAllEvents) == 0, PW_HERE);
    if (listen(socket, 1) != 0)
        ThrowError("Listening error.", PW_HERE);
}

void SocketStream::Close()
{
    if (is_open()) {
        buffer.pubsync();
        closesocket(socket);
    }
    socket = INVALID_SOCKET;
    buffer.Discard();
}

char* SocketStream::PeerName(char* name, size_t size)
{
    sockaddr_in peer {};
    int length = sizeof peer;
    if (getpeername(socket, reinterpret_cast<sockaddr*>(&peer), &length) != 0)
        ThrowError("Cannot get peer name.", PW_HERE);
    if (size > 0) {
        std::strncpy(name, inet_ntoa(peer.sin_addr), size - 1);
        name[size - 1] = '\0';
    }
    return name;
}
