#pragma once

#include "authoring/tools/CTool.h"

// Tool 111, the picture pane's selection tool. Its one option is the selection mode, 1 to 4,
// which the selection task reads when it starts.
class CLassoTool : public CTool {
public:
    CLassoTool();

    // One kind; the kind is not read. Values outside 1 to 4 are ignored; modes 1 to 3 empty the
    // active picture pane's selection, mode 4 puts it down as a stamp.
    void SetOption(int16_t kind, int16_t value) override;
    int16_t GetOption(int16_t) override { return mode; }
    int16_t CountOptions(int16_t) override { return 4; }

private:
    int16_t mode { 1 };
};
