// Publishing's small rules beside the command itself (TallowApp::Publish): the registration mail's
// sender, the published site's address, and the port the upload connects to.
#pragma once

#include "foundation/SmartPtr.h"
#include "foundation/String.h"

#include <cstdint>

// The registration mail's sender: the account at the FTP host without its first label ("kid" and
// "ftp.isp.example" give "kid@isp.example"; a host without a dot leaves nothing after the "@"). A
// host given by its IPv4 address stands whole, in brackets: "kid@[127.0.0.1]".
SmartPtr<String> MakeSenderAddress(const String& account, const String& host);

namespace pw::app {

// The site's address: the server URL, a "/" unless it already ends with one (or is empty), and the
// project name.
String SiteURL(const String& serverURL, const String& projectName);

namespace testing {

// The port uploads connect to: 21, but in tests.
void SetFTPPort(uint16_t port);

// The port a test that runs the whole program names in the environment variable, for a server
// on this machine; `standard` when the variable is unset or no port number.
uint16_t PortFromEnvironment(const char* variable, uint16_t standard);

} // namespace testing

} // namespace pw::app
