// The FTP control channel of a session: it connects to the server's command port, writes command
// lines and reads the replies, keeping two state bits the session polls while it waits. A failure
// reply that was not announced as tolerable is shown with the server's text and ends the waiting
// operation. One control connection exists at a time; its stream is module-wide, so the main
// window's notification entry (Notify, message 0x802) and the data connection reach it.
//
// On the newer platform the socket reports arriving data to the main window and Notify reads the
// replies; on the old one PollReply reads them itself, blocking. A reply longer than any server
// sends fails the connection, and only whole replies count as a sign of life, so a server that
// drips or floods a reply meets the session's silence limit. A close by the server fails the
// waiting step at once, or the next command when nothing was awaited.
#pragma once

#include "foundation/FourCharCode.h"
#include "foundation/SmartImplementation.h"
#include "foundation/SmartPtr.h"
#include "foundation/String.h"
#include "net/FTPReplyReader.h"

#include <windows.h>

#include <cstdint>
#include <memory>

class SocketStream;

// A command as four characters in one value, the first in the most significant byte; a blank
// ends it, so 'CWD ' goes out as CWD.
using FTPCommand = uint32_t;
inline constexpr FTPCommand kUSER = pw::foundation::FourCharCode("USER");
inline constexpr FTPCommand kPASS = pw::foundation::FourCharCode("PASS");
inline constexpr FTPCommand kCWD = pw::foundation::FourCharCode("CWD ");
inline constexpr FTPCommand kMKD = pw::foundation::FourCharCode("MKD ");
inline constexpr FTPCommand kTYPE = pw::foundation::FourCharCode("TYPE");
inline constexpr FTPCommand kPORT = pw::foundation::FourCharCode("PORT");
inline constexpr FTPCommand kSTOR = pw::foundation::FourCharCode("STOR");
inline constexpr FTPCommand kAPPE = pw::foundation::FourCharCode("APPE");
inline constexpr FTPCommand kRETR = pw::foundation::FourCharCode("RETR");
inline constexpr FTPCommand kABOR = pw::foundation::FourCharCode("ABOR");
inline constexpr FTPCommand kQUIT = pw::foundation::FourCharCode("QUIT");

// The control stream of the one control connection, or none.
extern std::unique_ptr<SocketStream> cntlStream;

class FTPControlConnection : public SmartImplementation {
    PW_CLASS_INFO(FTPControlConnection)
    PW_COPY_SLOTS

public:
    // Connects (the failure is a failed call check with the Winsock error) and awaits the greeting.
    FTPControlConnection(uint16_t port, const String& host);
    ~FTPControlConnection() override;
    FTPControlConnection(const FTPControlConnection&) = delete;
    FTPControlConnection& operator=(const FTPControlConnection&) = delete;

    // Writes the line whatever is outstanding; a failure reply to it that begins with `tolerated`
    // ("" for any) is taken without an alert, and the tolerance ends with the next final reply.
    // An argument holding CR, LF or NUL is refused with an exception, unsent, and so is every
    // command after the server closed the connection.
    void SendCommand(FTPCommand code, const String& argument1, const String& argument2, const String& tolerated);
    // Writes only when nothing is outstanding, so no failure reply to it is tolerated.
    void Send(FTPCommand code, const String& argument1, const String& argument2);
    // Send with one-character arguments; a zero character is left out.
    void SendChars(FTPCommand code, char argument1, char argument2);

    // True when no reply is outstanding. Raises a failure stored by a notification, and "Send
    // Failed" once after the connection failed (true afterwards).
    bool PollReply();
    // After a transfer command: its reply, or the preliminary one, has come.
    bool IsReplyDone();
    // Interprets one reply line (a trailing CR, if any, is ignored).
    void HandleReply(const char* line);

    // The server's IPv4 address (network byte order), its port and ours (host byte order).
    uint32_t PeerAddress();
    uint16_t PeerPort();
    uint16_t LocalPort();

    // Raises an error for an argument holding CR, LF or NUL, which would end or split a command.
    static void RefuseLineBreaks(const String& argument);

    // The code of the last final reply (230, 331, ...), 0 before the first.
    int LastReplyCode() const { return lastReplyCode; }

    // The session ends: from here on every reply is taken without an alert, and commands after
    // a close by the server are left unsent instead of failing.
    void BeginClosing();
    // Since BeginClosing: the server answered QUIT (221) or closed, or the connection failed.
    bool HasEnded();

    // The entry for message 0x802: the socket and the event word of the notification.
    static void Notify(WPARAM socket, LPARAM event);

    static constexpr uint8_t kAwaitingReply = 0x01;
    static constexpr uint8_t kReplyArrived = 0x02;

private:
    void WriteLine(FTPCommand code, const String& argument1, const String& argument2);
    // Reads the reply lines the stream holds now (blocking on the old platform until one ends).
    void ReadReplies(bool blocking);
    // Ends the connection's use with a failure the waiting loop raises; nothing more is sent.
    void Fail(const char* why);
    // The server closed the connection (or it broke).
    void NoteServerClosed();

    uint8_t state { 0 };
    String toleratedReply;
    int lastReplyCode { 0 };
    // The reply in progress: its line read in part, its size, the code of a multi-line one.
    pw::net::FTPReplyReader replies;
    bool closing { false };
};
