// The data channel of one active-mode FTP transfer: it listens on a port the platform chooses, at
// the address the control connection uses, tells the session that address and port for PORT,
// accepts the server's connection (and no other) when the socket reports it, and then sends the
// file's stream in blocks of 16,384 bytes, one block per window message, so the message loop and
// the progress dialog run between blocks. One data connection exists at a time; its stream is
// module-wide because the main window reaches it through Notify (message 0x800).
//
// The socket stays non-blocking: a block the socket cannot take at once is continued when the
// platform reports room again, so a server that stops reading never stalls the message loop.
#pragma once

#include "foundation/SmartImplementation.h"
#include "foundation/SmartPtr.h"

#include <windows.h>

#include <cstdint>
#include <memory>

class SocketStream;
class Stream;

// The data stream of the one data connection: listening at first, connected after the accept.
extern std::unique_ptr<SocketStream> dataStream;

class FTPDataConnection : public SmartImplementation {
    PW_CLASS_INFO(FTPDataConnection)
    PW_COPY_SLOTS

public:
    static constexpr uint32_t kBlockSize = 16384;

    // Listens for the server at `serverAddress` (network byte order), the only peer accepted.
    // `sending` is set for every transfer but RETR. Raises the system error when the control
    // connection's address cannot be learnt or no listening socket can be opened.
    FTPDataConnection(uint32_t serverAddress, const SmartPtr<Stream>& stream, bool sending);
    ~FTPDataConnection() override;
    FTPDataConnection(const FTPDataConnection&) = delete;
    FTPDataConnection& operator=(const FTPDataConnection&) = delete;

    // This machine's address on the control connection and the listening port, in host byte order;
    // a failed query raises the system error.
    uint32_t LocalAddress();
    uint16_t DataPort();

    // Lets the bytes go: the first block leaves when the posted message comes round.
    void StartSending();
    // True once the stream has gone and the socket is closed. Raises a failure kept from a
    // notification, and "Send Failed" once after the data connection failed (true afterwards).
    bool IsTransferDone();

    // The entry for message 0x800: the socket and the event word of the notification.
    static void Notify(WPARAM socket, LPARAM event);

    static constexpr uint8_t kSending = 0x01;
    static constexpr uint8_t kTransferDone = 0x02;

private:
    void HandleEvent(LPARAM event);
    void AcceptServer();
    // Sends what the socket takes of the current block, taking the next block when one is done.
    void SendMore();
    void Finish();

    SmartPtr<Stream> stream;
    uint8_t state { 0 };
    std::unique_ptr<char[]> buffer;
    uint32_t length { 0 };
    uint32_t serverAddress { 0 };
    // The block in the buffer: its first `sent` of `filled` bytes have gone.
    uint32_t filled { 0 };
    uint32_t sent { 0 };
};
