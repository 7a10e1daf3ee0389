#pragma once

#include "engine/CJumpFrame.h"
#include "foundation/Persistent.h"
#include "foundation/PersistentVersion.h"
#include "foundation/SmartImplementation.h"
#include "foundation/SmartList.h"
#include "foundation/SmartPtr.h"
#include "ui/Menu.h"

#include <cstdint>

class ArchiveScope;

// A movie's frame labels (CJumpFrame), 1-based and in ascending frame order. It moves the labels
// with the movie's inserted and deleted frames, finds them by frame and by name (names compare
// exactly; the lowest frame wins), and re-attaches the labels of pasted links to its own. All
// frame numbers are the movie's own (from 0); -1 means no frame.
//
// Stored form (version 2.0, oldest 2.0): one object reference to the label list (a ListData of
// CJumpFrame). An empty or foreign reference reads as an empty index; entries that are no label
// and repeats of a label are left out.
class CFrameIndex : public Persistent, public SmartImplementation {
    PW_CLASS_INFO(CFrameIndex)
    PW_COPY_SLOTS

public:
    static const PersistentVersion version;

    CFrameIndex() = default;
    // A new list of clones of the other's labels, so that edits of the copy never move the
    // original's labels.
    CFrameIndex(const CFrameIndex& other);
    explicit CFrameIndex(ArchiveScope& scope);
    // Shares the other's list object.
    CFrameIndex& operator=(const CFrameIndex& other);

    void Write(Archive& archive) override;
    const PersistentVersion& GetPersistentVersion() const override { return version; }

    // The label on `frame`; with `create`, a new unnamed one put in order when there is none.
    CJumpFrame* Lookup(int16_t frame, bool create);
    // The label's frame when it is one of ours; else the first of ours with its name, which then
    // replaces the handle's label; else -1 after the warning "Not implemented.".
    int16_t FindFrame(SmartPtr<CJumpFrame>& label);
    int16_t FindByName(const String& name) const;
    // The name of the label on `frame`, or none.
    const String* GetName(int16_t frame);
    // A non-empty name labels the frame; the empty name removes its label.
    void SetName(int16_t frame, const String& name);
    // A foreign label is replaced by ours of the same name, when we have one.
    void Adopt(SmartPtr<CJumpFrame>& label);
    // Labels at `at` or later move up by `count`.
    void InsertFrames(int16_t at, int16_t count);
    // Labels inside at .. at + count - 1 go; later ones move down by `count`.
    void DeleteFrames(int16_t at, int16_t count);
    // Clones of the other's labels, moved by `delta`, put in order among ours.
    void Merge(const SmartPtr<CFrameIndex>& other, int16_t delta);
    // The other's label objects themselves, put in order among ours (the other keeps them too).
    void Absorb(const CFrameIndex& other);
    // In a copy, the clone of `label` of the index it was copied from (same position); none when
    // the label is not the original's.
    CJumpFrame* CloneOf(const CFrameIndex& original, CJumpFrame* label) const;
    CJumpFrame* GetEntry(uint32_t index) const { return labels.Item(index); }
    uint32_t NumEntries() const { return labels.NumItems(); }
    // Label i's frame and the frames up to the next label (or to `total` for the last); both 0
    // when there is no label i.
    void GetRange(uint32_t index, int16_t total, int16_t& start, int16_t& length) const;
    // Warns "Not implemented." and answers an empty menu, so that callers always get one.
    SmartPtr<Menu> MakePopup(int32_t number, int32_t first, int32_t second);

private:
    uint32_t IndexOf(CJumpFrame* label) const;
    // Inserts after the last label at or before `after` whose frame is not greater; `after`
    // becomes that position, so a walk from the last label to the first keeps the order.
    void InsertOrdered(CJumpFrame* label, uint32_t& after);

    SmartList<CJumpFrame> labels;
};
