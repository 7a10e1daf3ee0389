#pragma once

#include "foundation/ImageResource.h"
#include "foundation/SmartPtr.h"

#include <cstdint>
#include <vector>

// The layout of a button palette: the grid's size in cells and pixels, the three whole-palette
// pictures (each as large as the palette, any of them may be missing) and optional pictures of
// single cells. The resource tables make one per request and hand it to a palette's constructor,
// which reads it and lets it go.
struct ButtonGrid {
    int16_t rows { 0 };
    int16_t columns { 0 };
    int16_t cellWidth { 0 };
    int16_t cellHeight { 0 };
    SmartPtr<ImageResource> normalPicture;
    SmartPtr<ImageResource> selectedPicture;
    SmartPtr<ImageResource> disabledPicture;
    // Cell numbers counted from 1 (row by row), parallel to the two picture lists below; an
    // entry that is not an ImageResource gives its cell no picture.
    std::vector<int16_t> cellNumbers;
    std::vector<SmartPtr<Smart>> cellPictures;
    std::vector<SmartPtr<Smart>> selectedCellPictures;
};
