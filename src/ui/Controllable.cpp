#include "ui/Controllable.h"

#include "ui/TextClient.h"

PW_DEFINE_CLASS(Controllable, nullptr, nullptr, Smart)

Controllable::Controllable(const Controllable&)
    : Smart()
{
}

Controllable& Controllable::operator=(const Controllable&)
{
    return *this;
}

void Controllable::ToggleLink(TextClient* object)
{
    links.Toggle(object);
}

// Walked by index from the end, each index checked again: a client may unlink itself (or others)
// while it is told, and none is told twice or read past the end.
void Controllable::Broadcast(int32_t first, int32_t second, int32_t third)
{
    const int32_t range[3] = { first, second, third };
    for (uint32_t index = links.NumItems(); index >= 1; --index) {
        if (index <= links.NumItems())
            links[index]->RevealRange(range);
    }
}

void Controllable::BroadcastChange()
{
    for (uint32_t index = links.NumItems(); index >= 1; --index) {
        if (index <= links.NumItems())
            links[index]->TargetChanged(nullptr);
    }
}

int32_t Controllable::Query(int32_t argument)
{
    int32_t first = 0;
    int32_t second = 0;
    GetRange(argument, &first, &second);
    return GetValueFor(argument);
}
