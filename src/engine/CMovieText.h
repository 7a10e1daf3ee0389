#pragma once

#include "engine/CMovieRes.h"

// A movie of texts: each cel's item holds a String shown in the item's rectangle. Texts do not
// scale: a frame is drawn into its mapped rectangle in the drawing colour, on white.
//
// Stored form (version 1.0, oldest 1.0): the CMovieRes form inside the CMovieText scope.
class CMovieText : public CMovieRes {
    PW_CLASS_INFO(CMovieText)

public:
    static const PersistentVersion version;

    // One frame showing the resource's text in `rect`, which becomes the resource's rectangle and
    // the movie's bounds; the flag changes nothing (callers pass 1).
    CMovieText(const SmartPtr<CResource>& resource, const Rect& rect, bool flag);
    CMovieText(const CMovieText& other) = default;
    CMovieText(CMovieText& source, int16_t start, int16_t count);
    explicit CMovieText(ArchiveScope& scope);

    void Write(Archive& archive) override;
    const PersistentVersion& GetPersistentVersion() const override { return version; }

    // False for a cel without a text.
    bool DrawFrame(DisplayPort& port, const SmartPtr<CXform>& xform, int16_t frame, const Color& color) override;
    SmartPtr<CMovie> CopyFrames(int16_t start, int16_t count, bool cut) override;
};
