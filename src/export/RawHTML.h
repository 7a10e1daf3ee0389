#pragma once

#include "export/htmlElement.h"
#include "foundation/PersistentVersion.h"
#include "foundation/String.h"

class ArchiveScope;

// A piece of literal HTML, written exactly as it is: nothing escaped, no line end added. Stored
// as its text, embedded in place.
class RawHTML : public htmlElement {
    PW_CLASS_INFO(RawHTML)
    PW_COPY_SLOTS

public:
    static const PersistentVersion version;

    explicit RawHTML(const String& text);
    explicit RawHTML(ArchiveScope& scope);
    RawHTML(const RawHTML& other);
    RawHTML& operator=(const RawHTML& other);
    ~RawHTML() override;

    void Write(Archive& archive) override;
    const PersistentVersion& GetPersistentVersion() const override { return version; }

    void WriteHTML(SmartPtr<FileReference> folder, const String& pageName, SmartList<FileReference> files,
        Stream& out) override;

private:
    String text;
};
