#include "LoopbackSMTPServer.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace pw::net::tests {

namespace {

// Mail n is kept as n.env (HELO name, sender, recipients, one a line), n.eml (the content) and
// n.hdr (what the email package reads in its headers: the Date as a universal ISO time or
// "invalid", the Message-ID, the number of defects found, the Subject unfolded).
constexpr const char* kKeeper = R"(
import email, email.policy, logging, os, sys, threading, warnings
warnings.simplefilter("ignore")
logging.disable(logging.CRITICAL)
count = 0
def keep(hello, sender, recipients, content):
    global count
    count += 1
    base = os.path.join(sys.argv[1], str(count))
    with open(base + ".eml", "wb") as f:
        f.write(content)
    message = email.message_from_bytes(content, policy=email.policy.default)
    try:
        date = message["Date"].datetime.astimezone(__import__("datetime").timezone.utc).isoformat()
    except Exception:
        date = "invalid"
    defects = len(message.defects) + sum(len(getattr(message[k], "defects", ())) for k in message.keys())
    with open(base + ".hdr", "w") as f:
        f.write("\n".join([date, str(message["Message-ID"]), str(defects), str(message["Subject"])]) + "\n")
    with open(base + ".env", "w") as f:
        f.write("\n".join([hello, sender] + recipients) + "\n")
def serve_until_stdin_closes():
    threading.Thread(target=lambda: (sys.stdin.read(), os._exit(0)), daemon=True).start()
)";

// The sender's domain is checked as a strict server does: a host name of letters, digits and
// hyphens whose last label is no number, or an address in brackets.
constexpr const char* kAsyncServer = R"(
import asyncio, ipaddress, re
from aiosmtpd.smtp import SMTP
LABEL = re.compile(r"[A-Za-z0-9]([A-Za-z0-9-]*[A-Za-z0-9])?$")
def valid_domain(domain):
    if domain.startswith("[") and domain.endswith("]"):
        try:
            ipaddress.ip_address(domain[1:-1].removeprefix("IPv6:"))
            return True
        except ValueError:
            return False
    labels = domain.split(".")
    return all(LABEL.match(label) for label in labels) and not labels[-1].isdigit()
class Keeper:
    async def handle_MAIL(self, server, session, envelope, address, mail_options):
        if not valid_domain(address.rpartition("@")[2]):
            return "553 5.1.8 Sender address domain is not valid"
        envelope.mail_from = address
        envelope.mail_options.extend(mail_options)
        return "250 OK"
    async def handle_DATA(self, server, session, envelope):
        keep(session.host_name, envelope.mail_from, envelope.rcpt_tos, envelope.original_content)
        return "250 Message accepted"
loop = asyncio.new_event_loop()
asyncio.set_event_loop(loop)
server = loop.run_until_complete(loop.create_server(lambda: SMTP(Keeper(), hostname="mail.test"), "127.0.0.1", 0))
print(server.sockets[0].getsockname()[1], flush=True)
serve_until_stdin_closes()
loop.run_forever()
)";

// The standard library's server hands over the data with its lines ended by LF alone.
constexpr const char* kStandardServer = R"(
import asyncore, smtpd
class Channel(smtpd.SMTPChannel):
    def smtp_HELO(self, arg):
        self.smtp_server.hello_name = arg
        super().smtp_HELO(arg)
class Keeper(smtpd.SMTPServer):
    channel_class = Channel
    def process_message(self, peer, mailfrom, rcpttos, data, **options):
        keep(self.hello_name, mailfrom, rcpttos, data)
server = Keeper(("127.0.0.1", 0), None, decode_data=False)
print(server.socket.getsockname()[1], flush=True)
serve_until_stdin_closes()
asyncore.loop()
)";

std::string ReadAll(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

} // namespace

LoopbackSMTPServer::LoopbackSMTPServer(Library library)
{
    char made[] = "/tmp/pw-smtp-XXXXXX";
    if (!mkdtemp(made)) {
        problem = "no temporary folder";
        return;
    }
    folder = made;
    std::string script = std::string(kKeeper) + (library == Library::kAsync ? kAsyncServer : kStandardServer);
    process = std::make_unique<PythonServerProcess>(script.c_str(), std::vector<std::string> { folder.string() },
        library == Library::kAsync ? "the SMTP server (is python3-aiosmtpd installed?)"
                                   : "the standard library's SMTP server (smtpd left Python in 3.12)");
}

LoopbackSMTPServer::~LoopbackSMTPServer()
{
    process.reset();
    if (!folder.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
}

std::vector<LoopbackSMTPServer::Mail> LoopbackSMTPServer::Mails() const
{
    std::vector<Mail> mails;
    for (int n = 1;; ++n) {
        std::filesystem::path base = folder / std::to_string(n);
        std::filesystem::path envelope = base;
        envelope += ".env";
        if (!std::filesystem::exists(envelope))
            return mails;
        std::istringstream lines(ReadAll(envelope));
        Mail mail;
        std::getline(lines, mail.hello);
        std::getline(lines, mail.from);
        for (std::string to; std::getline(lines, to);)
            mail.to.push_back(to);
        std::filesystem::path content = base;
        content += ".eml";
        mail.content = ReadAll(content);
        std::filesystem::path headers = base;
        headers += ".hdr";
        std::istringstream parsed(ReadAll(headers));
        std::getline(parsed, mail.date);
        std::getline(parsed, mail.messageID);
        std::getline(parsed, mail.headerDefects);
        std::getline(parsed, mail.subject);
        mails.push_back(mail);
    }
}

} // namespace pw::net::tests
