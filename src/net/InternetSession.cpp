#include "net/InternetSession.h"

#include "export/LinkHREF.h"

PW_DEFINE_CLASS(InternetSession, nullptr, nullptr, SmartImplementation)
PW_DEFINE_NO_COPY_SLOTS(InternetSession)

namespace {

// The URL after its "scheme:", when it has one: a ":" whose next characters are "//". A ":" met
// first elsewhere belongs to a port ("host.example:21/site"), which keeps the host in front of it.
String WithoutScheme(const String& url)
{
    String rest(url);
    uint32_t colon = rest.Find(String(":"), 1, String::kForward);
    if (colon != 0 && rest.Find(String("//"), colon + 1, String::kForward) == colon + 1)
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
