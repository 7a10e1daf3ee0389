// The module-wide state of the FTP conversation that the control connection, the data
// connection, the socket stream and the framework's lock-up check share.
#pragma once

#include <windows.h>

class Exception;

// From the construction of a control connection to its destruction.
extern bool ftpActive;
// While the control stream is being made (name lookup and connect block there).
extern bool ftpConnecting;
// Set when the control or the data stream fails: nothing more is written, notifications are
// ignored, and the next wait raises "Send Failed" (once, marked by sendFailedReported).
extern bool transferAborted;
extern bool sendFailedReported;
// The server has connected to the data connection's listening socket.
extern bool dataAccepted;

namespace pw::net {

// Keeps a failure raised inside a socket notification, which the window procedure would
// otherwise swallow, for the waiting loop; the first kept failure wins.
void KeepNotifiedFailure(Exception* failure);
// Raises a kept failure (once) in the caller's loop.
void RaiseNotifiedFailure();
// Forgets a kept failure, for a new conversation.
void ForgetNotifiedFailure();

// The tick of the conversation's last sign of life: a line or block written, a reply line read,
// a connection accepted. Waits fail after too long a silence.
void NoteActivity();
DWORD LastActivity();

} // namespace pw::net
