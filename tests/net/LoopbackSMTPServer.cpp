#include "LoopbackSMTPServer.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace pw::net::tests {

namespace {

// Mail n is kept as n.env (HELO name, sender, recipients, one a line) and n.eml (the content).
constexpr const char* kServerScript = R"(
import asyncio, logging, os, sys, threading
from aiosmtpd.smtp import SMTP
logging.disable(logging.CRITICAL)
class Keeper:
    count = 0
    async def handle_DATA(self, server, session, envelope):
        Keeper.count += 1
        base = os.path.join(sys.argv[1], str(Keeper.count))
        with open(base + ".eml", "wb") as f:
            f.write(envelope.original_content)
        with open(base + ".env", "w") as f:
            f.write("\n".join([session.host_name, envelope.mail_from] + envelope.rcpt_tos) + "\n")
        return "250 Message accepted"
loop = asyncio.new_event_loop()
asyncio.set_event_loop(loop)
server = loop.run_until_complete(loop.create_server(lambda: SMTP(Keeper(), hostname="mail.test"), "127.0.0.1", 0))
print(server.sockets[0].getsockname()[1], flush=True)
threading.Thread(target=lambda: (sys.stdin.read(), os._exit(0)), daemon=True).start()
loop.run_forever()
)";

std::string ReadAll(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

} // namespace

LoopbackSMTPServer::LoopbackSMTPServer()
{
    char made[] = "/tmp/pw-smtp-XXXXXX";
    if (!mkdtemp(made)) {
        problem = "no temporary folder";
        return;
    }
    folder = made;
    process = std::make_unique<PythonServerProcess>(kServerScript, std::vector<std::string> { folder.string() },
        "the SMTP server (is python3-aiosmtpd installed?)");
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
        mails.push_back(mail);
    }
}

} // namespace pw::net::tests
