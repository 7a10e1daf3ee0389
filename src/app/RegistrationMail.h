// The site-registration mail: after an upload the program tells the registration service about
// the new site with one plain mail over SMTP. RegisterSite builds the text from the site's URL,
// the sender, the application's strings and the optional settings (subject, signature start,
// mail server), sends it and waits for the conversation to end inside a progress range.
#pragma once

#include <cstdint>
#include <string>

class String;

// Sends the mail from `sender` about the site at `siteURL` and waits until it has gone; every
// failure (no mail server, a refused command, an address that would bend a command line, the
// user's stop) raises to the caller. Nothing is sent for an unsafe address.
void RegisterSite(const String& siteURL, const String& sender);

namespace pw::app {

// What the mail says, as it stands in the settings and strings.
struct RegistrationMailParts {
    std::string subject;
    std::string sender;
    std::string recipient;
    std::string siteURL;
    std::string signatureStart;
    // "month/day/year" without leading zeros.
    std::string date;
};

// The mail text, every line ended by CR LF. Values that stand on one line (the headers, the URL,
// the signature) lose their line ends, so a hand-edited setting cannot add a header or a line.
std::string ComposeRegistrationMail(const RegistrationMailParts& parts);

namespace testing {

// The port the mail servers are looked for on: 25, but in tests.
void SetMailPort(uint16_t port);

} // namespace testing

} // namespace pw::app
