#pragma once

#include "export/htmlElement.h"
#include "foundation/PersistentVersion.h"

class ArchiveScope;

// An ordered list of elements written one after the other; the page export's root. The list is
// shared with whoever made the wrapper and with its copies. Stored as one reference to the list,
// whose item class is htmlElement: an index that stores wrappers lists that class too.
class htmlWrapper : public htmlElement {
    PW_CLASS_INFO(htmlWrapper)
    PW_COPY_SLOTS

public:
    static const PersistentVersion version;

    explicit htmlWrapper(const SmartList<htmlElement>& elements);
    // Keeps the stored list's elements, in order; entries of other classes are left out.
    explicit htmlWrapper(ArchiveScope& scope);
    htmlWrapper(const htmlWrapper& other);
    htmlWrapper& operator=(const htmlWrapper& other);
    ~htmlWrapper() override;

    void Write(Archive& archive) override;
    const PersistentVersion& GetPersistentVersion() const override { return version; }

    // Each element in list order, with the same arguments.
    void WriteHTML(SmartPtr<FileReference> folder, const String& pageName, SmartList<FileReference> files,
        Stream& out) override;

private:
    SmartList<htmlElement> elements;
};
