#include "engine/CFrameIndex.h"

#include "engine/StoredReference.h"
#include "foundation/ArchiveScope.h"
#include "foundation/Exception.h"
#include "foundation/ListData.h"

#include <unordered_set>

PW_DEFINE_CLASS(CFrameIndex, nullptr, nullptr, Persistent)
PW_DEFINE_COPY_SLOTS(CFrameIndex)

constinit const PersistentVersion CFrameIndex::version { &CFrameIndex::classInfo, Fixed(2), Fixed(2),
    &pw::foundation::ReadInScope<CFrameIndex> };

CFrameIndex::CFrameIndex(const CFrameIndex& other)
    : Smart()
    , Persistent(other)
    , SmartImplementation(other)
{
    for (uint32_t index = 1; index <= other.labels.NumItems(); ++index)
        labels.Append(new CJumpFrame(*other.labels.Item(index)));
}

CJumpFrame* CFrameIndex::CloneOf(const CFrameIndex& original, CJumpFrame* label) const
{
    uint32_t index = original.IndexOf(label);
    return index != 0 ? labels.Item(index) : nullptr;
}

CFrameIndex::CFrameIndex(ArchiveScope& scope)
{
    SmartPtr<ListData> stored = pw::engine::ReadReference<ListData>(scope);
    if (!stored.Valid())
        return;
    // Only labels come in, each kept in order by its frame, and each once: a label listed twice
    // would move twice with every edit and leave the movie.
    std::unordered_set<CJumpFrame*> taken;
    for (uint32_t index = 1; index <= stored->NumItems(); ++index) {
        auto* label = SmartCast<CJumpFrame>(stored->GetItem(index));
        uint32_t after = labels.NumItems();
        if (label && taken.insert(label).second)
            InsertOrdered(label, after);
    }
}

CFrameIndex& CFrameIndex::operator=(const CFrameIndex& other)
{
    labels = other.labels;
    return *this;
}

void CFrameIndex::Write(Archive& archive)
{
    ArchiveScope scope(archive, version);
    scope.WriteObject(labels.Data());
}

uint32_t CFrameIndex::IndexOf(CJumpFrame* label) const
{
    return label ? labels.IndexOf(label) : 0;
}

CJumpFrame* CFrameIndex::Lookup(int16_t frame, bool create)
{
    uint32_t index = labels.NumItems();
    for (; index > 0; --index) {
        CJumpFrame* label = labels.Item(index);
        if (label->GetFrame() == frame)
            return label;
        if (label->GetFrame() < frame)
            break;
    }
    if (!create)
        return nullptr;
    SmartPtr<CJumpFrame> label = new CJumpFrame(frame, String());
    labels.InsertItems(label.Get(), index, 1);
    return label.Get();
}

int16_t CFrameIndex::FindFrame(SmartPtr<CJumpFrame>& label)
{
    if (IndexOf(label.Get()) != 0)
        return label->GetFrame();
    if (label.Valid()) {
        for (uint32_t index = 1; index <= labels.NumItems(); ++index) {
            if (labels.Item(index)->GetName() == label->GetName()) {
                label = labels.Item(index);
                return label->GetFrame();
            }
        }
    }
    Exception::Warn(kNotImplemented, PW_HERE);
    return -1;
}

int16_t CFrameIndex::FindByName(const String& name) const
{
    for (uint32_t index = 1; index <= labels.NumItems(); ++index) {
        if (labels.Item(index)->GetName() == name)
            return labels.Item(index)->GetFrame();
    }
    return -1;
}

const String* CFrameIndex::GetName(int16_t frame)
{
    CJumpFrame* label = Lookup(frame, false);
    return label ? &label->GetName() : nullptr;
}

void CFrameIndex::SetName(int16_t frame, const String& name)
{
    if (name.Length() > 0) {
        Lookup(frame, true)->SetName(name);
        return;
    }
    if (CJumpFrame* label = Lookup(frame, false))
        labels.Data()->DeleteItems(labels.IndexOf(label), 1);
}

void CFrameIndex::Adopt(SmartPtr<CJumpFrame>& label)
{
    if (!label.Valid() || IndexOf(label.Get()) != 0)
        return;
    for (uint32_t index = 1; index <= labels.NumItems(); ++index) {
        if (labels.Item(index)->GetName() == label->GetName()) {
            label = labels.Item(index);
            return;
        }
    }
}

void CFrameIndex::InsertFrames(int16_t at, int16_t count)
{
    for (uint32_t index = 1; index <= labels.NumItems(); ++index) {
        CJumpFrame* label = labels.Item(index);
        if (label->GetFrame() >= at)
            label->SetFrame(static_cast<int16_t>(label->GetFrame() + count));
    }
}

void CFrameIndex::DeleteFrames(int16_t at, int16_t count)
{
    int32_t end = int32_t(at) + count;
    for (uint32_t index = labels.NumItems(); index > 0; --index) {
        CJumpFrame* label = labels.Item(index);
        if (label->GetFrame() >= end)
            label->SetFrame(static_cast<int16_t>(label->GetFrame() - count));
        else if (label->GetFrame() >= at)
            labels.Data()->DeleteItems(index, 1);
    }
}

void CFrameIndex::InsertOrdered(CJumpFrame* label, uint32_t& after)
{
    while (after > 0 && labels.Item(after)->GetFrame() > label->GetFrame())
        --after;
    labels.InsertItems(label, after, 1);
}

void CFrameIndex::Merge(const SmartPtr<CFrameIndex>& other, int16_t delta)
{
    if (!other.Valid())
        return;
    uint32_t after = labels.NumItems();
    for (uint32_t index = other->labels.NumItems(); index > 0; --index) {
        SmartPtr<CJumpFrame> copy = new CJumpFrame(*other->labels.Item(index));
        copy->SetFrame(static_cast<int16_t>(copy->GetFrame() + delta));
        InsertOrdered(copy.Get(), after);
    }
}

void CFrameIndex::Absorb(const CFrameIndex& other)
{
    uint32_t after = labels.NumItems();
    for (uint32_t index = other.labels.NumItems(); index > 0; --index)
        InsertOrdered(other.labels.Item(index), after);
}

void CFrameIndex::GetRange(uint32_t index, int16_t total, int16_t& start, int16_t& length) const
{
    CJumpFrame* label = labels.Item(index);
    if (!label) {
        start = length = 0;
        return;
    }
    start = label->GetFrame();
    CJumpFrame* next = labels.Item(index + 1);
    length = static_cast<int16_t>((next ? next->GetFrame() : total) - start);
}

SmartPtr<Menu> CFrameIndex::MakePopup(int32_t, int32_t, int32_t)
{
    Exception::Warn(kNotImplemented, PW_HERE);
    return new Menu(String());
}
