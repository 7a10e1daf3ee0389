#pragma once

#include "foundation/Exception.h"

#include <string>

class PersistentVersion;

// Raised when a class is asked of a type index that does not hold it; shown as "Class not
// included in format:" and the class's name.
class FormatClassException : public Exception {
public:
    explicit FormatClassException(const PersistentVersion& record);
    explicit FormatClassException(const ClassInfo* record);

    void Display(int kind) override;

    const std::string& GetClassName() const { return className; }

private:
    std::string className;
};
