#pragma once

#include "foundation/ClassInfo.h"

class Archive;
class PersistentVersion;

// The interface of every stored class. Write stores the object inside its own versioned scope;
// the class's version record names the reader that rebuilds it, reading the same fields in the
// same order through the same kind of scope.
class Persistent : public virtual Smart {
    PW_CLASS_INFO(Persistent)
    PW_COPY_SLOTS

public:
    virtual void Write(Archive& archive) = 0;
    virtual const PersistentVersion& GetPersistentVersion() const = 0;

protected:
    Persistent() = default;
    Persistent(const Persistent&) = default;
    Persistent& operator=(const Persistent&) = default;
};
