#pragma once

#include "platform/backend/Backend.h"

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace pw::platform {

// Draws the message box of the windowed program onto a screen frame: a frame with a caption bar,
// the text wrapped into lines, and a row of buttons. Text is rendered with FreeType from DejaVu
// Sans without anti-aliasing; the program's bytes are Windows-1252. The layout is made once per
// box; HitButton finds the button under a screen point.
class BoxPainter {
public:
    BoxPainter(int screenWidth, int screenHeight, const std::string& text, const std::string& caption,
        const std::vector<int>& buttons);
    ~BoxPainter();
    BoxPainter(const BoxPainter&) = delete;
    BoxPainter& operator=(const BoxPainter&) = delete;

    void Draw(Frame& frame, int pressedButton) const;

    // The answer of the button at (x, y), or 0.
    int HitButton(int x, int y) const;

private:
    struct Button {
        int answer;
        RECT rect;
    };

    int TextWidth(std::string_view text) const;
    void DrawText(Frame& frame, int x, int y, std::string_view text, uint8_t colour) const;
    std::vector<std::string> WrapLines(const std::string& text, int width) const;

    struct Font;
    std::unique_ptr<Font> font;
    int lineHeight { 15 };
    std::string caption;
    std::vector<std::string> lines;
    RECT box {};
    std::vector<Button> buttons;
};

} // namespace pw::platform
