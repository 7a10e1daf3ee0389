#pragma once

#include "foundation/Exception.h"

#include <string>

// An error with a message and the place that raised it, shown as the message, a carriage return
// and "File: <file> Line: <line>". Each exception keeps its own text.
class MessageException : public Exception {
public:
    MessageException(const char* message, const char* file, int line);

    void Display(int kind) override;

    const std::string& GetText() const { return text; }

private:
    std::string text;
};
