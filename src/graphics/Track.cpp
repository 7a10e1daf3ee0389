#include "graphics/Track.h"

PW_DEFINE_CLASS(Track, nullptr, nullptr, Smart)
PW_DEFINE_NO_COPY_SLOTS(Track)
