#include "engine/legacy/MacResources.h"

#include "foundation/Exception.h"

bool MacResources::resourceFileOpen = false;

MacResources::MacResources(const FileReference&)
{
    fileNumber = 0;
    resourceFileOpen = true;
    Exception::Warn(kNotImplemented, PW_HERE);
}

MacResources::~MacResources()
{
    resourceFileOpen = false;
    Exception::Warn(kNotImplemented, PW_HERE);
}

SmartPtr<Persistent> MacResources::GetResource(uint32_t, int16_t)
{
    if (resourceFileOpen)
        Exception::Warn(kNotImplemented, PW_HERE);
    return SmartPtr<Persistent>();
}
