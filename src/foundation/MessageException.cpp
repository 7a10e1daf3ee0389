#include "foundation/MessageException.h"

#include <cstdint>
#include <cstdio>

MessageException::MessageException(const char* message, const char* file, int line)
{
    char lineText[8];
    std::snprintf(lineText, sizeof lineText, "%d", static_cast<int16_t>(line));
    text = message ? message : "";
    text += "\rFile: ";
    text += file ? file : "";
    text += " Line: ";
    text += lineText;
}

void MessageException::Display(int kind)
{
    ShowComposed(kind, text.c_str(), nullptr, nullptr, nullptr);
}
