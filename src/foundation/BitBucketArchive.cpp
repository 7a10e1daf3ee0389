#include "foundation/BitBucketArchive.h"

#include "foundation/Exception.h"
#include "foundation/Stream.h"

PW_DEFINE_CLASS(BitBucketArchive, nullptr, nullptr, Archive, SmartImplementation)
PW_DEFINE_COPY_SLOTS(BitBucketArchive)

Fixed& BitBucketArchive::GetObjectVersion(Fixed& version, uint32_t, Fixed)
{
    version = Fixed();
    return version;
}

Stream& BitBucketArchive::GetStream()
{
    return pw::foundation::NullStream();
}

Archive& pw::foundation::NullArchive()
{
    static BitBucketArchive* archive = [] {
        auto* nullArchive = new BitBucketArchive;
        Pin(*nullArchive);
        return nullArchive;
    }();
    return *archive;
}
