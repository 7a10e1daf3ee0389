// Test hooks of the socket part of the platform: a resolver in place of the host's, so no test
// touches the network, and a count of live sockets. The platform reset closes every socket,
// clears the start-up count and puts the host's resolver back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace pw::platform::testing {

// Answers the IPv4 addresses (network byte order) of a name gethostbyname is asked for; an empty
// answer is a name that does not resolve. Dotted-decimal text never reaches it.
using Resolver = std::function<std::vector<uint32_t>(const std::string& name)>;
void SetResolver(Resolver resolver);

size_t LiveSocketCount();

} // namespace pw::platform::testing
