#include "engine/legacy/CArea.h"

PW_DEFINE_CLASS(CArea, nullptr, nullptr, Persistent)
PW_DEFINE_NO_COPY_SLOTS(CArea)

constinit const PersistentVersion CArea::version { &CArea::classInfo, Fixed(1), Fixed(2), nullptr };
