#include "graphics/MeasureEditText.h"

#include "foundation/Checks.h"
#include "graphics/TextStyle.h"
#include "graphics/WinVersion.h"

#include <algorithm>
#include <string>

Point MeasureEditText(HWND edit, const char* chars, int32_t length, TextStyle& style)
{
    if (length <= 0)
        return Point(0, 0);
    HDC dc = GetDC(edit);
    CheckNotNull(dc, PW_HERE);
    HGDIOBJ previous = SelectObject(dc, style.GetFont());
    int32_t lines = int32_t(SendMessageA(edit, EM_GETLINECOUNT, 0, 0));
    Point result(0, 0);
    std::string line;
    for (int32_t index = 0; index < lines; ++index) {
        auto start = int32_t(SendMessageA(edit, EM_LINEINDEX, WPARAM(index), 0));
        if (start < 0 || start > length)
            break;
        auto count = int32_t(SendMessageA(edit, EM_LINELENGTH, WPARAM(start), 0));
        line.assign(chars + start, size_t(std::clamp(count, 0, length - start)));
        line += 'I';
        SIZE size {};
        if (IsWin31Only())
            GetTextExtentPointA(dc, line.data(), int(line.size()), &size);
        else
            GetTextExtentPoint32A(dc, line.data(), int(line.size()), &size);
        result.h = std::max(result.h, int32_t(size.cx));
        result.v += size.cy;
    }
    SelectObject(dc, previous);
    ReleaseDC(edit, dc);
    return result;
}
