// One FTP conversation with the publishing server: open and log in, change (and make) the target
// folder, store files, close. Every step runs inside a progress range named after it, and every
// wait for a reply advances that range by 0 steps, so the progress dialog, the message loop and
// its Stop button stay alive while socket notifications move the conversation on. A transfer is
// started here and finished by the notifications; the caller polls DoTransfer() until it is true
// before the next step. A conversation that stays silent past the wait limit while a reply or the
// data connection is outstanding fails instead of waiting for ever; a reply that only trickles in
// is no sign of life until it is whole.
#pragma once

#include "foundation/SmartImplementation.h"
#include "foundation/SmartPtr.h"
#include "foundation/String.h"
#include "net/FTPControlConnection.h"

#include <windows.h>

#include <cstdint>

class FileReference;
class FTPDataConnection;
class InternetSession;
class Stream;

class FTPSession : public SmartImplementation {
    PW_CLASS_INFO(FTPSession)
    PW_COPY_SLOTS

public:
    static constexpr uint16_t kFTPPort = 21;

    // Connects to the server's host and logs in: USER, then PASS once the server asked for it
    // (331). The PASS reply is awaited by the next step.
    FTPSession(const SmartPtr<InternetSession>& server, const String& user, const String& password,
        uint16_t port = kFTPPort);
    // QUIT, after ABOR while a transfer is still under way; QUIT's reply is awaited for a moment
    // before the connection closes. Never raises.
    ~FTPSession() override;
    FTPSession(const FTPSession&) = delete;
    FTPSession& operator=(const FTPSession&) = delete;

    // CWD into the path, after MKD when `create` is set: a refusal of MKD beginning "55" (the
    // folder is there already) is accepted, a refusal of CWD ends the step. A path such as
    // "/~name/site" is made as given and entered as "~name/site".
    void SetDirectory(const String& path, bool create);
    // Stores the file's bytes under the remote name (see PutFile).
    void SendFile(const FileReference& file, const String& remoteName, bool binary, int mode);
    // Starts storing the stream's bytes: mode 1 appends (APPE), mode 3 stores under the name
    // followed by four random digits, modes 0 and 2 store. Does nothing while the session is busy.
    void PutFile(const SmartPtr<Stream>& stream, const String& remoteName, bool binary, int mode);
    // True when no reply is outstanding and no transfer runs; releases a finished transfer.
    bool DoTransfer();

private:
    void Close();
    void StartTransfer(FTPCommand command, const SmartPtr<Stream>& stream, const String& remoteName, bool binary);
    // "h1,h2,h3,h4,p1,p2" of the data connection's address and port.
    String PortText();

    struct FTPConnections {
        SmartPtr<FTPControlConnection> control;
        SmartPtr<FTPDataConnection> data;
    };

    FTPConnections connections;
    SmartPtr<InternetSession> server;
    uint32_t serverAddress { 0 };
    uint16_t serverPort { kFTPPort };
    uint16_t localPort { 0 };
};

namespace pw::net {

// How long a conversation may stay silent while something is outstanding.
constexpr DWORD kDefaultWaitLimitMs = 60'000;

} // namespace pw::net

namespace pw::net::testing {

// Sets the silence a wait tolerates; kDefaultWaitLimitMs restores it.
void SetWaitLimit(DWORD ms);

} // namespace pw::net::testing
