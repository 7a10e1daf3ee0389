// Asynchronous selection: the notifications of registered sockets are produced by the message
// queue, which calls PostSocketEvents whenever a message is retrieved.
#pragma once

#include <cstdint>

namespace pw::platform {

// The real time a retrieval that found nothing else gives the registered sockets to answer, so
// a loopback peer in the same process can reply before a loop counts as idle.
constexpr uint32_t kSocketWaitMs = 20;

// Polls the registered sockets, waiting at most `waitMs` of real time for one to be ready (only
// while some registered socket could still earn a notification), and posts every notification
// earned. True when it posted any.
bool PostSocketEvents(uint32_t waitMs);

// True while some registered socket could still earn a notification: a wait for input in real
// time then lasts at most kSocketWaitMs, so the socket is polled again soon.
bool SocketsExpectEvents();

} // namespace pw::platform
