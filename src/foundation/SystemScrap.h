#pragma once

#include "foundation/ClassInfo.h"
#include "foundation/Smart.h"
#include "foundation/TypedArray.h"

#include <cstdint>

class Memory;

// The four-character clipboard type codes an object can give ('TEXT', 'PICT').
using ScrapTypeList = TypedArray<uint32_t>;

// The interface of objects that can go to the system clipboard: which data types they offer and
// their data in one of them. Strings give 'TEXT', pictures 'PICT'. The reference slots are the
// implementing class's.
class SystemScrap : public virtual Smart {
    PW_CLASS_INFO(SystemScrap)
    PW_COPY_SLOTS

public:
    virtual ScrapTypeList GetTypes() = 0;
    // The data in one of the offered types; the block belongs to the object (or its class) and
    // stays valid at least until the next GetData call on it.
    virtual Memory& GetData(uint32_t type) = 0;

protected:
    SystemScrap() = default;
    SystemScrap(const SystemScrap&) = default;
    SystemScrap& operator=(const SystemScrap&) = default;
};
