#pragma once

#include "foundation/GenericArray.h"
#include "foundation/ListChange.h"
#include "foundation/Persistent.h"
#include "foundation/PersistentVersion.h"
#include "foundation/SmartImplementation.h"
#include "foundation/SmartPtr.h"
#include "foundation/TypedArray.h"

#include <vector>

class ArchiveScope;

// The framework's list of counted objects at 1-based positions. It holds one reference per
// non-null entry (an object entered twice holds two), checks newcomers against its item class
// (converting them when asked), and tells its listeners after each edit what changed. Stored as
// its item class, its count and one object reference per entry.
class ListData : public Persistent, public SmartImplementation {
    PW_CLASS_INFO(ListData)
    PW_COPY_SLOTS

public:
    static const PersistentVersion version;

    explicit ListData(const ClassInfo* itemClass = &SmartImplementation::classInfo);
    // Shares the source's entries (no listeners); every entry must be acceptable.
    ListData(const ListData& source);
    // Reads a list from a scope opened with `version`.
    explicit ListData(ArchiveScope& scope);
    ~ListData() override;

    // Takes the source's entries; fails without any change when one is not acceptable.
    ListData& operator=(const ListData& source);

    void Write(Archive& archive) override;
    const PersistentVersion& GetPersistentVersion() const override { return version; }

    virtual void ReleaseItems(uint32_t from, uint32_t num);
    virtual void AcquireItems(uint32_t from, uint32_t num, bool convert);
    virtual bool CanCopy(const ListData& source, uint32_t from, uint32_t num, bool convert) const;

    uint32_t NumItems() const { return pointers.NumItems(); }
    const ClassInfo* GetItemClass() const { return itemClass; }
    // Entry `index`, null out of range.
    Smart* GetItem(uint32_t index) const;
    uint32_t IndexOf(Smart* item) const;

    void InsertItems(Smart* item, uint32_t after, uint32_t num);
    void Append(Smart* item);
    void InsertList(const ListData& source, uint32_t after);
    void ReplaceItems(Smart* item, uint32_t from, uint32_t num);
    void DeleteItems(uint32_t from, uint32_t num);
    void DeleteAll();
    void Remove(Smart* item);
    // Class-tested, converting inserts; false (and nothing inserted) when refused.
    bool InsertObject(uint32_t after, Smart* item);
    bool InsertConverted(uint32_t after, const ListData& source);

    // New unreferenced lists of the same item class: copies of the entries, or the entries shared.
    ListData* CopyItems(uint32_t from, uint32_t num) const;
    ListData* SubList(uint32_t from, uint32_t num) const;

    bool AcceptsClass(const ClassInfo* record) const;
    bool CanAccept(Smart* item, bool convert) const;
    bool Convert(SmartPtr<Smart>& item, bool convert) const;

    void ToggleListener(ListListener* listener);

private:
    void NotifyListeners(uint32_t from, uint32_t count, int32_t delta);
    void CheckAfter(uint32_t after) const;
    void CheckEntries(uint32_t from, uint32_t num, int line) const;
    std::vector<SmartPtr<Smart>> ConvertedEntries(const ListData& source, bool convert) const;
    void PutEntries(const std::vector<SmartPtr<Smart>>& entries, uint32_t after);

    const ClassInfo* itemClass;
    TypedArray<Smart*> pointers;
    TypedArray<ListListener*> listeners;
};
