#include "net/InternetSession.h"

#include "export/LinkHREF.h"

#include <algorithm>
#include <string>

PW_DEFINE_CLASS(InternetSession, nullptr, nullptr, SmartImplementation)
PW_DEFINE_NO_COPY_SLOTS(InternetSession)

namespace {

// The URL after its "scheme:", when it has one. A first ":" followed by digits up to the next "/"
// (or the end) is a port ("host.example:21/site") and keeps the host in front of it; any other first
// ":" ends a scheme, whether "//" follows it or, as in "ftp:/host/path", a single "/".
String WithoutScheme(const String& url)
{
    std::string text = pw::foundation::TextOf(url);
    size_t colon = text.find(':');
    if (colon == std::string::npos)
        return url;
    size_t end = std::min(text.find('/', colon + 1), text.size());
    bool port = end > colon + 1
        && std::all_of(text.begin() + static_cast<std::ptrdiff_t>(colon + 1), text.begin() + static_cast<std::ptrdiff_t>(end),
            [](char c) { return c >= '0' && c <= '9'; });
    String rest(url);
    if (!port)
        rest.ExtractWord(String(":"));
    return rest;
}

} // namespace

InternetSession::InternetSession(const String& host)
    : host(host)
{
}

String InternetSession::HostFromURL(const String& url)
{
    String rest = WithoutScheme(url);
    String host = rest.ExtractWord(String("/"));
    uint32_t port = host.Find(String(":"), 1, String::kForward);
    return port == 0 ? host : String(host, 1, port - 1);
}

uint16_t InternetSession::PortFromURL(const String& url, uint16_t standard)
{
    String rest = WithoutScheme(url);
    String host = rest.ExtractWord(String("/"));
    uint32_t colon = host.Find(String(":"), 1, String::kForward);
    if (colon == 0)
        return standard;
    std::string digits = pw::foundation::TextOf(String(host, colon + 1, host.Length() - colon));
    if (digits.empty() || digits.size() > 5 || digits.find_first_not_of("0123456789") != std::string::npos)
        return standard;
    unsigned long port = std::stoul(digits);
    return port >= 1 && port <= 65535 ? static_cast<uint16_t>(port) : standard;
}

String InternetSession::PathFromURL(const String& url)
{
    String rest = WithoutScheme(url);
    rest.ExtractWord(String("/"));
    rest.Insert(String("/"), 0);
    return rest;
}

String InternetSession::PageExtension()
{
    return String(pw::exporting::kPageExtension);
}
