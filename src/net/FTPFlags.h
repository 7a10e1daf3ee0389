// The module-wide state of the FTP conversation that the control connection, the data
// connection, the socket stream and the framework's lock-up check share.
#pragma once

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
