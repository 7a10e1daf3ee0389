#include "app/RegistrationMail.h"

#include "app/SettingsStore.h"
#include "app/TallowResources.h"
#include "foundation/MemoryStream.h"
#include "foundation/String.h"
#include "foundation/Time.h"
#include "net/InternetSession.h"
#include "net/SMTPSession.h"
#include "net/SMTPThread.h"
#include "ui/ProgressRange.h"

namespace {

constexpr int32_t kSessionHostString = 49;
constexpr int32_t kRecipientString = 50;
constexpr int32_t kSubjectString = 51;
constexpr int16_t kSubjectSetting = 3000;
constexpr int16_t kSignatureSetting = 3001;
constexpr int16_t kMailServerSetting = 3002;
constexpr const char* kSignatureStart = "Plumewright 1.0 - ";
constexpr const char* kLineEnd = "\r\n";

uint16_t mailPort = SMTPThread::kSMTPPort;

std::string BytesOf(const String& text)
{
    uint32_t length = 0;
    String::CharIterator chars(text, length);
    return length ? std::string(chars.Chars(), length) : std::string();
}


std::string AppString(int32_t number)
{
    char text[256];
    TallowResources::GetString(text, number);
    return text;
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

void Wait(SMTPSession& session, ProgressRange& range)
{
    while (!session.IsDone())
        range.Advance(0);
}

} // namespace

std::string pw::app::ComposeRegistrationMail(const RegistrationMailParts& parts)
{
    std::string text;
    for (const std::string& line : {
             "Subject:" + OneLine(parts.subject),
             "From:" + OneLine(parts.sender),
             "To:" + OneLine(parts.recipient),
             std::string(),
             std::string("I've just published the web site:"),
             OneLine(parts.siteURL),
             OneLine(parts.signatureStart + parts.date),
             "-- " + OneLine(parts.sender),
             std::string(),
         })
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
    std::string subject = LineSetting(kSubjectSetting, AppString(kSubjectString));
    // The session keeps a reference to the mail server: it lives as long as the session here.
    String mailServer(LineSetting(kMailServerSetting, std::string()).c_str());

    ProgressRange range(3, String("Registering site"));
    range.Advance(1);
    SmartPtr<InternetSession> server(new InternetSession(sessionHost));
    SmartPtr<SMTPSession> session(new SMTPSession(server, mailServer, mailPort));
    Wait(*session.Get(), range);
    range.Advance(1);

    pw::app::RegistrationMailParts parts;
    parts.subject = subject;
    parts.sender = BytesOf(sender);
    parts.recipient = BytesOf(recipient);
    parts.siteURL = BytesOf(siteURL);
    parts.date = BytesOf(Time().DateString());
    parts.signatureStart = LineSetting(kSignatureSetting, kSignatureStart);
    std::string text = pw::app::ComposeRegistrationMail(parts);

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
