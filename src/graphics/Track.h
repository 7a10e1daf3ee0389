#pragma once

#include "foundation/ClassInfo.h"

// Time-based media: something that plays for a while once started. The sound channel, the
// animation player and the video channel are tracks.
class Track : public virtual Smart {
    PW_CLASS_INFO(Track)
    PW_COPY_SLOTS

public:
    // Begins playing; answers whether it began.
    virtual bool Start(bool flag) = 0;
    virtual bool IsPlaying() = 0;
    virtual void Stop() = 0;

protected:
    Track() = default;
    Track(const Track&) = default;
    Track& operator=(const Track&) = default;
};
