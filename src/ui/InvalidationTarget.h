#pragma once

class Area;

// Told that part of an image changed: `removed` no longer shows there, `added` now does. Views
// implement it by marking the area for redraw on the devices they draw on.
class InvalidationTarget {
public:
    virtual ~InvalidationTarget() = default;

    virtual void ImageChanged(const Area& removed, const Area& added) = 0;
};
