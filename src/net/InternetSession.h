#pragma once

#include "foundation/SmartImplementation.h"
#include "foundation/String.h"

#include <cstdint>

// The server one conversation talks to, and the small URL functions of the Internet client.
// Publishing makes one per server from the host part of the configured server URL and hands it to
// the FTP or SMTP session, which ask it for the host name. The host never changes.
class InternetSession : public SmartImplementation {
    PW_CLASS_INFO(InternetSession)
    PW_COPY_SLOTS

public:
    explicit InternetSession(const String& host);

    String HostName() const { return host; }

    // The host of a URL, without scheme, port or path: "ftp://host.example:21/kids" gives
    // "host.example", and so does "ftp:/host.example/kids". A first ":" followed by digits is a
    // port, not the end of a scheme: "host.example:21/kids" gives "host.example" too.
    static String HostFromURL(const String& url);
    // The port a URL names after its host ("ftp://host.example:2121/kids" gives 2121), else
    // `standard`: also when what follows the ":" is no port number from 1 to 65535.
    static uint16_t PortFromURL(const String& url, uint16_t standard);
    // The path of a URL after its host (and port), always beginning with "/": "/kids", or "/"
    // when there is none. Runs of "/" after the host are passed over.
    static String PathFromURL(const String& url);
    // ".htm", the extension of page files.
    static String PageExtension();

    // Hooks for application start and exit; there is nothing to set up.
    static void Startup() { }
    static void Shutdown() { }
    // No connection is probed: the answer is always true.
    static bool IsConnected() { return true; }

private:
    String host;
};
