#include "foundation/AssertionException.h"

#include "foundation/Alert.h"

#include <cstdio>

AssertionException::AssertionException(const char* expression, const char* file, int line)
    : expression(expression ? expression : "")
    , file(file ? file : "")
    , line(static_cast<int16_t>(line))
{
}

void AssertionException::Display(int kind)
{
    if (IsReported())
        return;
    char lineText[10];
    std::snprintf(lineText, sizeof lineText, "%d", line);
    char text[kMessageSize];
    ComposeMessage(text, 2, expression.c_str(), file.c_str(), lineText, nullptr);
    Alert(kind, 0, text);
    SetReported(true);
}
