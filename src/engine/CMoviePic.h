#pragma once

#include "engine/CMovieRes.h"

// A movie of pictures: each cel's item holds a bitmap, drawn through the frame's transform
// (scaled, or turned by its first angle). Made from pictures and sounds by the movie and sprite
// conversions; the picture pane edits its cels.
//
// Stored form (version 1.0, oldest 1.0): the CMovieRes form inside the CMoviePic scope.
class CMoviePic : public CMovieRes {
    PW_CLASS_INFO(CMoviePic)

public:
    static const PersistentVersion version;

    // One frame showing the resource; the flag changes nothing (callers pass 1).
    CMoviePic(const SmartPtr<CResource>& resource, bool flag);
    CMoviePic(const CMoviePic& other) = default;
    CMoviePic(CMoviePic& source, int16_t start, int16_t count);
    explicit CMoviePic(ArchiveScope& scope);

    void Write(Archive& archive) override;
    const PersistentVersion& GetPersistentVersion() const override { return version; }

    // The cel's picture drawn opaquely onto its bounds mapped through the transform; false for a
    // cel without a picture.
    bool DrawFrame(DisplayPort& port, const SmartPtr<CXform>& xform, int16_t frame, const Color& color) override;
    SmartPtr<CMovie> CopyFrames(int16_t start, int16_t count, bool cut) override;
};
