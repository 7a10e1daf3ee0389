#pragma once

#include "foundation/Exception.h"

#include <cstdint>
#include <string>

// A failed assertion: the expression's source text, the source file and the line, shown as
// "Please Report an Error in", the file and line, and the expression in double quotes.
class AssertionException : public Exception {
public:
    AssertionException(const char* expression, const char* file, int line);

    void Display(int kind) override;

    const std::string& GetExpression() const { return expression; }
    const std::string& GetFile() const { return file; }
    int16_t GetLine() const { return line; }

private:
    std::string expression;
    std::string file;
    int16_t line;
};
