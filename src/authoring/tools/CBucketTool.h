#pragma once

#include "authoring/tools/CTool.h"

#include <cstdint>

class Area;
class CDropperTool;

// Tool 103, the bucket: a press fills the region of one colour around it with a gradient between
// the two current paint colours (the picture pane's fill task does the filling). Its ten options
// are the gradient kinds, held in the current paint's fill style, which every bucket shares and a
// new bucket sets back to 1.
class CBucketTool : public CTool {
public:
    static constexpr int16_t kBucketOptions = 10;

    // The dropper is not kept.
    explicit CBucketTool(const SmartPtr<CDropperTool>& dropper);
    ~CBucketTool() override;

    // Options outside 1..10 are ignored (a fill of another kind would fail).
    void SetOption(int16_t kind, int16_t value) override;
    int16_t GetOption(int16_t kind) override;
    int16_t CountOptions(int16_t) override { return kBucketOptions; }
    // The cell filled with the gradient of the current option.
    void Apply(DisplayPort& port, const Rect& rect) override;

private:
    SmartPtr<Area> proxyRgn;
};
