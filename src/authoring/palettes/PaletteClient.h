#pragma once

#include <cstdint>

namespace pw::authoring {

// Whoever a tool palette tells which cell the child clicked (the palette windows). Clients are
// borrowed: a client removes itself from its palettes before it goes.
class PaletteClient {
public:
    virtual void CellChosen(int16_t index) = 0;

protected:
    ~PaletteClient() = default;
};

} // namespace pw::authoring
