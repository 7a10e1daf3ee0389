// A character stream in both directions over one TCP socket: a client connected to a named
// server, or a server listening on a port. With notifications on, the socket reports its events
// to the main window (0x802 for a client, 0x800 for a listener) and is non-blocking, so a read
// that finds nothing ends as end of input. Each stream starts Winsock for itself and cleans up
// when it goes, so several can live at once.
#pragma once

#include "net/SocketBuffer.h"

#include <windows.h>
#include <winsock.h>

#include <cstddef>
#include <iostream>

class SocketStream : public std::iostream {
public:
    static constexpr int kClientMode = 1;
    static constexpr UINT kListenerMessage = 0x800;
    static constexpr UINT kClientMessage = 0x802;

    // Opens at once; a stream that could not open is closed (is_open() false) and the Winsock
    // error stays in the last error for the caller to report.
    SocketStream(const char* host, int port, int mode, bool notify);
    ~SocketStream() override;
    SocketStream(const SocketStream&) = delete;
    SocketStream& operator=(const SocketStream&) = delete;

    // Mode 1 connects to host:port; any other mode listens on port (0: a free one) at the host's
    // address, or on every interface when no host is named.
    void Open(const char* host, int port, int mode, bool notify);
    // Sends what is pending and closes; the stream is closed afterwards in every case.
    void Close();
    bool is_open() const { return socket != INVALID_SOCKET; }

    SOCKET Socket() const { return socket; }
    // Replaces the socket without closing the old one (the accepted connection of a listener).
    void SetSocket(SOCKET s) { socket = s; }

    // The peer's address as dotted text, at most size - 1 characters; raises "Cannot get peer
    // name." when the socket has no peer.
    char* PeerName(char* buffer, size_t size);

    bool HasUnreadInput() const { return buffer.HasUnread(); }

    // The window socket notifications go to: the main window, found by its class.
    static HWND MainWindow();

private:
    void OpenOrThrow(const char* host, int port, int mode, bool notify);

    SOCKET socket { INVALID_SOCKET };
    SocketBuffer buffer;
};
