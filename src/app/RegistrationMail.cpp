#include "app/RegistrationMail.h"

#include "app/Publish.h"
#include "app/SettingsStore.h"
#include "app/TallowResources.h"
#include "foundation/MemoryStream.h"
#include "foundation/String.h"
#include "foundation/Time.h"
#include "net/InternetSession.h"
#include "net/SMTPSession.h"
#include "net/SMTPThread.h"
#include "ui/ProgressRange.h"

#include <windows.h>

#include <cstdio>
#include <vector>

namespace {

constexpr int32_t kSessionHostString = 49;
constexpr int32_t kRecipientString = 50;
constexpr int32_t kSubjectString = 51;
constexpr int16_t kSubjectSetting = 3000;
constexpr int16_t kSignatureSetting = 3001;
constexpr int16_t kMailServerSetting = 3002;
constexpr const char* kSignatureStart = "Plumewright 1.0 - ";
constexpr const char* kLineEnd = "\r\n";
constexpr size_t kMaxLine = pw::net::kMaxMailLine;
// The domain of the message identification when the sender's is no plain host name.
constexpr const char* kFallbackDomain = "plumewright.invalid";

uint16_t mailPort = pw::app::testing::PortFromEnvironment("PLUMEWRIGHT_TEST_SMTP_PORT", SMTPThread::kSMTPPort);

std::string BytesOf(const String& text)
{
    uint32_t length = 0;
    String::CharIterator chars(text, length);
    return length ? std::string(chars.Chars(), length) : std::string();
}


std::string AppString(int32_t number)
{
    return BytesOf(TallowResources::GetString(number));
}

// A value that has to stay on its line: each run of line ends becomes one blank.
std::string OneLine(const std::string& value)
{
    std::string line;
    bool inBreak = false;
    for (char c : value) {
        bool isBreak = c == '\r' || c == '\n';
        if (isBreak && !inBreak)
            line += ' ';
        else if (!isBreak)
            line += c;
        inBreak = isBreak;
    }
    return line;
}

// The setting's text without the line ends a file saved by hand ends with, or `fallback`.
std::string LineSetting(int16_t number, const std::string& fallback)
{
    String value;
    return pw::app::ReadLineSetting(number, value) ? BytesOf(value) : fallback;
}

// The setting's whole text, line breaks and all, or `fallback`.
std::string TextSetting(int16_t number, const std::string& fallback)
{
    String value;
    return ReadSetting(number, value) ? BytesOf(value) : fallback;
}

// The text's lines: CR LF, a lone CR and a lone LF each end one; the last line is what follows the
// last break (empty after a closing break).
std::vector<std::string> LinesOf(const std::string& text)
{
    std::vector<std::string> lines(1);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            lines.emplace_back();
        } else {
            lines.back() += text[i];
        }
    }
    return lines;
}

void Wait(SMTPSession& session, ProgressRange& range)
{
    while (!session.IsDone())
        range.Advance(0);
}

// A line of free text as a mail may carry it: pieces of at most kMaxLine bytes. A header is
// folded before a blank, which then starts the next piece, so a reader unfolding the header gets
// the value back; body text is broken at a blank, which the break replaces. A run without blanks
// is cut at the limit (a header's next piece then starts with an added blank).
std::vector<std::string> BrokenLine(std::string rest, bool header)
{
    std::vector<std::string> pieces;
    while (rest.size() > kMaxLine) {
        size_t blank = rest.rfind(' ', kMaxLine);
        if (blank == std::string::npos || blank == 0) {
            pieces.push_back(rest.substr(0, kMaxLine));
            rest = (header ? " " : "") + rest.substr(kMaxLine);
        } else {
            pieces.push_back(rest.substr(0, blank));
            rest = rest.substr(header ? blank : blank + 1);
        }
    }
    pieces.push_back(rest);
    return pieces;
}

// A line that cannot be broken (an address, the site's URL) must fit whole.
const std::string& Whole(const std::string& line, const char* refusal)
{
    if (line.size() > kMaxLine)
        ThrowError(refusal, PW_HERE);
    return line;
}

bool IsPlainHostName(const std::string& name)
{
    return !name.empty() && name.front() != '.' && name.back() != '.' && name.find("..") == std::string::npos
        && name.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.-")
        == std::string::npos;
}

// The Date header's value for a universal time.
std::string MailDate(const SYSTEMTIME& now)
{
    static const char* const days[] = { "Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat" };
    static const char* const months[]
        = { "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec" };
    char text[64];
    std::snprintf(text, sizeof text, "%s, %02u %s %04u %02u:%02u:%02u +0000", days[now.wDayOfWeek % 7],
        unsigned(now.wDay), months[(now.wMonth + 11) % 12], unsigned(now.wYear), unsigned(now.wHour),
        unsigned(now.wMinute), unsigned(now.wSecond));
    return text;
}

// "<unique@domain>", the domain the sender's when it is a plain host name. The millisecond, the
// machine's running time and a count within the run keep two mails from one machine apart, and
// mostly those of two machines.
std::string MessageID(const SYSTEMTIME& now, const std::string& sender)
{
    static unsigned count = 0;
    size_t at = sender.rfind('@');
    std::string domain = at == std::string::npos ? std::string() : sender.substr(at + 1);
    char unique[80];
    std::snprintf(unique, sizeof unique, "%04u%02u%02u%02u%02u%02u%03u.%lx.%u", unsigned(now.wYear),
        unsigned(now.wMonth), unsigned(now.wDay), unsigned(now.wHour), unsigned(now.wMinute),
        unsigned(now.wSecond), unsigned(now.wMilliseconds), static_cast<unsigned long>(GetTickCount()), ++count);
    return std::string("<") + unique + "@" + (IsPlainHostName(domain) ? domain : kFallbackDomain) + ">";
}

} // namespace

std::string pw::app::ComposeRegistrationMail(const RegistrationMailParts& parts)
{
    const char* const longAddress = "A mail address is too long to be sent in a mail.";
    std::vector<std::string> lines = BrokenLine("Subject:" + OneLine(parts.subject), true);
    for (const std::string& line : {
             Whole("From:" + OneLine(parts.sender), longAddress),
             Whole("To:" + OneLine(parts.recipient), longAddress),
             "Date:" + parts.date,
             "Message-ID:" + parts.messageID,
             std::string(),
             std::string("I've just published the web site:"),
             Whole(OneLine(parts.siteURL), "The site's address is too long to be sent in a mail."),
         })
        lines.push_back(line);
    for (const std::string& signatureLine : LinesOf(parts.signatureStart + parts.signatureDate)) {
        for (const std::string& line : BrokenLine(signatureLine, false))
            lines.push_back(line);
    }
    lines.push_back("-- " + OneLine(parts.sender));
    lines.push_back(std::string());
    std::string text;
    for (const std::string& line : lines)
        text += line + kLineEnd;
    return text;
}

void RegisterSite(const String& siteURL, const String& sender)
{
    String sessionHost(AppString(kSessionHostString).c_str());
    String recipient(AppString(kRecipientString).c_str());
    // Refused here, before a connection is made, rather than after the greeting.
    SMTPThread::RefuseUnsafeAddress(sender);
    SMTPThread::RefuseUnsafeAddress(recipient);
    // The session keeps a reference to the mail server: it lives as long as the session here.
    String mailServer(LineSetting(kMailServerSetting, std::string()).c_str());

    // The mail is made first, so one that cannot be sent is refused before any connection.
    SYSTEMTIME now;
    GetSystemTime(&now);
    // The signature carries the day as it is where the child publishes.
    SYSTEMTIME today;
    GetLocalTime(&today);
    pw::app::RegistrationMailParts parts;
    parts.subject = LineSetting(kSubjectSetting, AppString(kSubjectString));
    parts.sender = BytesOf(sender);
    parts.recipient = BytesOf(recipient);
    parts.date = MailDate(now);
    parts.messageID = MessageID(now, parts.sender);
    parts.siteURL = BytesOf(siteURL);
    parts.signatureStart = TextSetting(kSignatureSetting, kSignatureStart);
    parts.signatureDate = BytesOf(Time(today).DateString());
    std::string text = pw::app::ComposeRegistrationMail(parts);

    ProgressRange range(3, String("Registering site"));
    range.Advance(1);
    SmartPtr<InternetSession> server(new InternetSession(sessionHost));
    SmartPtr<SMTPSession> session(new SMTPSession(server, mailServer, mailPort));
    Wait(*session.Get(), range);
    range.Advance(1);

    SmartPtr<Stream> message(new MemoryStream(static_cast<uint32_t>(text.size())));
    message->Write(text.data(), static_cast<uint32_t>(text.size()));
    message->Seek(0, Stream::kFromStart);
    session->SendMessage(message, sender, recipient);
    Wait(*session.Get(), range);
}

void pw::app::testing::SetMailPort(uint16_t port)
{
    mailPort = port;
}
