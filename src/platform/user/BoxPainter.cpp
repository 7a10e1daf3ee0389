#include "platform/user/BoxPainter.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>

namespace pw::platform {

namespace {

constexpr const char* kFontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr int kPixelSize = 12;
constexpr int kCaptionHeight = 18;
constexpr int kMargin = 14;
constexpr int kMaxTextWidth = 420;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kButtonGap = 8;

// Static colours of the system palette.
constexpr uint8_t kBlack = 0;
constexpr uint8_t kDarkBlue = 4;
constexpr uint8_t kLightGray = 7;
constexpr uint8_t kDarkGray = 248;
constexpr uint8_t kWhite = 255;

// Windows-1252 bytes 0x80..0x9F as Unicode; the rest of the code page is Latin-1.
constexpr uint16_t kHighControls[32] = { 0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C,
    0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178 };

FT_ULong CodePointOf(char c)
{
    auto byte = static_cast<unsigned char>(c);
    return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : byte;
}

const char* LabelOf(int answer)
{
    switch (answer) {
    case IDOK: return "OK";
    case IDCANCEL: return "Cancel";
    case IDABORT: return "Abort";
    case IDRETRY: return "Retry";
    case IDIGNORE: return "Ignore";
    case IDYES: return "Yes";
    case IDNO: return "No";
    default: return "";
    }
}

void Fill(Frame& frame, RECT r, uint8_t colour)
{
    for (LONG y = std::max<LONG>(r.top, 0); y < std::min<LONG>(r.bottom, frame.height); ++y) {
        for (LONG x = std::max<LONG>(r.left, 0); x < std::min<LONG>(r.right, frame.width); ++x)
            frame.At(x, y) = colour;
    }
}

void Bevel(Frame& frame, RECT r, uint8_t light, uint8_t dark)
{
    Fill(frame, RECT { r.left, r.top, r.right, r.top + 1 }, light);
    Fill(frame, RECT { r.left, r.top, r.left + 1, r.bottom }, light);
    Fill(frame, RECT { r.left, r.bottom - 1, r.right, r.bottom }, dark);
    Fill(frame, RECT { r.right - 1, r.top, r.right, r.bottom }, dark);
}

} // namespace

struct BoxPainter::Font {
    FT_Library library { nullptr };
    FT_Face face { nullptr };

    ~Font()
    {
        if (face)
            FT_Done_Face(face);
        if (library)
            FT_Done_FreeType(library);
    }
};

BoxPainter::BoxPainter(int screenWidth, int screenHeight, const std::string& text, const std::string& caption,
    const std::vector<int>& answers)
    : caption(caption)
{
    // Without the font the box still shows its frame and buttons, so it can be answered.
    auto loaded = std::make_unique<Font>();
    if (FT_Init_FreeType(&loaded->library) == 0 && FT_New_Face(loaded->library, kFontPath, 0, &loaded->face) == 0
        && FT_Set_Pixel_Sizes(loaded->face, 0, kPixelSize) == 0) {
        font = std::move(loaded);
        lineHeight = static_cast<int>(font->face->size->metrics.height >> 6);
    }

    lines = WrapLines(text, kMaxTextWidth);
    int textWidth = TextWidth(caption) + 8;
    for (const auto& line : lines)
        textWidth = std::max(textWidth, TextWidth(line));
    int buttonsWidth = static_cast<int>(answers.size()) * (kButtonWidth + kButtonGap) - kButtonGap;
    int width = std::min(std::max({ textWidth, buttonsWidth, 180 }) + 2 * kMargin, screenWidth);
    int height = kCaptionHeight + kMargin + static_cast<int>(lines.size()) * lineHeight + kMargin + kButtonHeight + kMargin;
    int left = (screenWidth - width) / 2;
    int top = std::max((screenHeight - height) / 2, 0);
    box = RECT { left, top, left + width, top + height };

    int x = left + (width - buttonsWidth) / 2;
    int y = box.bottom - kMargin - kButtonHeight;
    for (int answer : answers) {
        buttons.push_back(Button { answer, RECT { x, y, x + kButtonWidth, y + kButtonHeight } });
        x += kButtonWidth + kButtonGap;
    }
}

BoxPainter::~BoxPainter() = default;

void BoxPainter::Draw(Frame& frame, int pressedButton) const
{
    Fill(frame, box, kLightGray);
    Bevel(frame, box, kWhite, kBlack);
    RECT captionBar { box.left + 2, box.top + 2, box.right - 2, box.top + kCaptionHeight };
    Fill(frame, captionBar, kDarkBlue);
    DrawText(frame, captionBar.left + 4, captionBar.top + 1, caption, kWhite);
    int y = box.top + kCaptionHeight + kMargin;
    for (const auto& line : lines) {
        DrawText(frame, box.left + kMargin, y, line, kBlack);
        y += lineHeight;
    }
    for (const Button& button : buttons) {
        bool pressed = button.answer == pressedButton;
        Bevel(frame, button.rect, pressed ? kDarkGray : kWhite, pressed ? kWhite : kDarkGray);
        const char* label = LabelOf(button.answer);
        int labelX = button.rect.left + (kButtonWidth - TextWidth(label)) / 2;
        int labelY = button.rect.top + (kButtonHeight - lineHeight) / 2;
        DrawText(frame, labelX, labelY, label, kBlack);
    }
}

int BoxPainter::HitButton(int x, int y) const
{
    for (const Button& button : buttons) {
        if (x >= button.rect.left && x < button.rect.right && y >= button.rect.top && y < button.rect.bottom)
            return button.answer;
    }
    return 0;
}

int BoxPainter::TextWidth(std::string_view text) const
{
    if (!font)
        return 0;
    int width = 0;
    for (char c : text) {
        if (FT_Load_Char(font->face, CodePointOf(c), FT_LOAD_TARGET_MONO) == 0)
            width += static_cast<int>(font->face->glyph->advance.x >> 6);
    }
    return width;
}

void BoxPainter::DrawText(Frame& frame, int x, int y, std::string_view text, uint8_t colour) const
{
    if (!font)
        return;
    int baseline = y + static_cast<int>(font->face->size->metrics.ascender >> 6);
    for (char c : text) {
        if (FT_Load_Char(font->face, CodePointOf(c), FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0)
            continue;
        FT_GlyphSlot glyph = font->face->glyph;
        const FT_Bitmap& bitmap = glyph->bitmap;
        for (unsigned row = 0; row < bitmap.rows; ++row) {
            for (unsigned column = 0; column < bitmap.width; ++column) {
                const unsigned char* bits = bitmap.buffer + static_cast<ptrdiff_t>(row) * bitmap.pitch;
                if (!(bits[column / 8] & (0x80 >> (column % 8))))
                    continue;
                int px = x + glyph->bitmap_left + static_cast<int>(column);
                int py = baseline - glyph->bitmap_top + static_cast<int>(row);
                if (px >= 0 && px < frame.width && py >= 0 && py < frame.height)
                    frame.At(px, py) = colour;
            }
        }
        x += static_cast<int>(glyph->advance.x >> 6);
    }
}

std::vector<std::string> BoxPainter::WrapLines(const std::string& text, int width) const
{
    std::vector<std::string> result;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        std::string paragraph = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!paragraph.empty() && paragraph.back() == '\r')
            paragraph.pop_back();
        // Words move to the next line when the line would get too wide; a long word stays whole.
        std::string line;
        size_t pos = 0;
        while (pos < paragraph.size()) {
            size_t next = paragraph.find(' ', pos + 1);
            std::string word = paragraph.substr(pos, next == std::string::npos ? std::string::npos : next - pos);
            if (!line.empty() && TextWidth(line + word) > width) {
                result.push_back(line);
                line = word.substr(word.find_first_not_of(' ') == std::string::npos ? word.size() : word.find_first_not_of(' '));
            } else {
                line += word;
            }
            pos = next == std::string::npos ? paragraph.size() : next;
        }
        result.push_back(line);
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return result;
}

} // namespace pw::platform
