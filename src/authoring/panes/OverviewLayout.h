#pragma once

#include "foundation/Rect.h"

#include <cstdint>

namespace pw::authoring {

// The geometry of the frame overview's film strip, in coordinates whose origin is the view's
// top-left corner: each frame a reduced picture in a cell, cells in rows of `numAcross`, each row
// a strip of film with sprocket holes above and below the pictures (or plain cells), scrolled so
// that `topRow` is the first row shown. Frames are numbered from 0.
struct OverviewLayout {
    // Cell looks from the options: plain cells instead of film strips, and the outlines of the
    // frame's sprites instead of its picture.
    static constexpr uint32_t kPlainCells = 0x01;
    static constexpr uint32_t kSpriteOutlines = 0x02;
    static constexpr int32_t kGap = 6;

    // Lays out a movie of `width` x `height` reduced by `factor` (brought into 1 .. 256, the value
    // kept there) for a view `viewWidth` wide. Answers whether the rows keep their pitch and count
    // of cells, so that what is drawn stays where it was.
    bool Compute(int32_t width, int32_t height, int16_t& factor, uint32_t bits, int32_t viewWidth, int16_t frames);
    Rect Cell(int32_t frame) const;
    Rect Strip(int32_t row) const;

    // A click's frame range for the selection (mouse steps by the design's numbering): `f` is the
    // frame at the point, or the insertion point of the gap between cells the point lies in.
    struct Click {
        bool ignored { false };
        bool inGap { false };
        int32_t f { 0 };
        int32_t g { 0 };
    };
    Click Hit(int32_t h, int32_t v) const;
    // The same click measured against the cell of `frame` instead of the frame at the point.
    Click Hit(int32_t h, int32_t v, int32_t frame) const;

    Rect frameRect { 0, 0, 0, 0 };
    Rect stripRect { 0, 0, 0, 0 };
    int16_t numAcross { 1 };
    int16_t numRows { 1 };
    int16_t numFrames { 0 };
    int16_t frameH { 0 };
    int16_t frameV { 0 };
    int32_t topRow { 0 };
};

} // namespace pw::authoring
