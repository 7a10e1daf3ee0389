#pragma once

#include "authoring/tools/CTool.h"
#include "graphics/TextStyle.h"

#include <cstdint>
#include <vector>

// Tool 4, with which the child writes text on a page. It owns the style new text gets (face 1,
// 12 points, bold, black on no background), offers three option sets (0 font, 1 style, 2 size),
// draws a sample of each option in its cell, and hands a chosen option at once to the text being
// edited in the active animation pane, which from then on shares the tool's style. The tools
// window keeps one for the run (CToolsDir::GetTextTool); new texts take their style from it. It
// has no class record of its own: the registry knows it as a CTool. The option views showing its
// options stand in its client list while they live.
class CTextTool : public CTool {
public:
    static constexpr int32_t kNumber = 4;

    CTextTool();
    ~CTextTool() override;

    int16_t CountOptions(int16_t kind) override;
    // No option cell shows as chosen.
    int16_t GetOption(int16_t) override { return 0; }
    // Values outside 1 to CountOptions(kind) are ignored.
    void SetOption(int16_t kind, int16_t value) override;
    // "abc" ("a" for a size) in a copy of the style with the option applied, in the foreground
    // colour, centred and whole inside the rectangle (smaller where the option's look would not
    // fit).
    void ApplyWithOption(DisplayPort& port, const Rect& rect, int16_t kind, int16_t value) override;

    void SetColor(const Color& color);
    // The style itself, shared with whoever takes it.
    const SmartPtr<TextStyle>& GetTextStyle() const { return style; }
    // Adds the object to the client list, or removes it when present.
    void ToggleClient(const void* client);
    bool HasClient(const void* client) const;

    // Applies option `value` (1-based, in range) of `kind` to the style.
    static void ApplyOption(TextStyle& style, int16_t kind, int16_t value);

private:
    SmartPtr<TextStyle> style;
    std::vector<const void*> clients;
};
