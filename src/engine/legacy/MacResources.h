#pragma once

#include "foundation/Persistent.h"
#include "foundation/SmartPtr.h"

#include <cstdint>

class FileReference;

// What is left of the reader of old resource files: it only records, for the whole process,
// whether such a file is open (the last object made or destroyed decides), warns "Not
// implemented." and never finds a resource.
class MacResources {
public:
    // Marks a resource file open; the file is not read.
    explicit MacResources(const FileReference& file);
    // Marks no resource file open.
    ~MacResources();
    MacResources(const MacResources&) = delete;
    MacResources& operator=(const MacResources&) = delete;

    // Always empty; warns "Not implemented." while a resource file counts as open.
    static SmartPtr<Persistent> GetResource(uint32_t type, int16_t id);

private:
    static bool resourceFileOpen;

    int16_t fileNumber { 0 };
};
