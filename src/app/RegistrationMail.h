// The site-registration mail: after an upload the program tells the registration service about
// the new site with one plain mail over SMTP. RegisterSite builds the text from the site's URL,
// the sender, the application's strings and the optional settings (subject, signature start,
// mail server), sends it and waits for the conversation to end inside a progress range.
#pragma once

#include <cstdint>
#include <string>

class String;

// Sends the mail from `sender` about the site at `siteURL` and waits until it has gone; every
// failure (no mail server, a step the server refused, an address that would bend a command line,
// a site address too long for a mail line, the user's stop) raises to the caller. Nothing is sent
// for an unsafe address or a mail that cannot be sent whole. A server's refusal raises a
// pw::net::MailServerRefusal naming the step and holding the server's reply line.
void RegisterSite(const String& siteURL, const String& sender);

namespace pw::app {

// What the mail says, as it stands in the settings and strings.
struct RegistrationMailParts {
    std::string subject;
    std::string sender;
    std::string recipient;
    // The Date header's value ("Thu, 05 Dec 1996 12:00:00 +0000") and the message
    // identification ("<unique@domain>").
    std::string date;
    std::string messageID;
    std::string siteURL;
    // The signature's text before the date, line breaks and all.
    std::string signatureStart;
    // "month/day/year" of the local date without leading zeros, after the signature start.
    std::string signatureDate;
};

// The mail text, every line ended by CR LF and none longer than a mail line may be (998 bytes).
// Values that stand on one line (the headers, the URL) lose their line ends, so a hand-edited
// setting cannot add a header or a line; the signature keeps its lines, each ended by CR LF, below
// the headers where a line adds no header. A long subject is folded and a long signature line
// broken; an address or site URL too long for one line raises an error.
std::string ComposeRegistrationMail(const RegistrationMailParts& parts);

namespace testing {

// The port the mail servers are looked for on: 25, but in tests.
void SetMailPort(uint16_t port);

} // namespace testing

} // namespace pw::app
