#pragma once

#include "foundation/SmartImplementation.h"

#include <cstdint>

// A creator signature: a display name and a four-character code (0 for none). A value as well as
// a shared object: copied, assigned and passed by value. The name is not copied: it must outlive
// the type (makers pass literals).
class FileCreatorType : public SmartImplementation {
    PW_CLASS_INFO(FileCreatorType)
    PW_COPY_SLOTS

public:
    FileCreatorType(const char* name, uint32_t code);
    FileCreatorType(const FileCreatorType&) = default;
    FileCreatorType& operator=(const FileCreatorType&) = default;

    const char* GetName() const { return name; }
    uint32_t GetCode() const { return code; }

    // The creator "Unknown" with code 0, for callers that have none to offer; lives for the run.
    static const FileCreatorType& Unknown();

protected:
    uint32_t code;
    const char* name;
};
