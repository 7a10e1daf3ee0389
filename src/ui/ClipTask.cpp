#include "ui/ClipTask.h"

#include "ui/View.h"

PW_DEFINE_CLASS(ClipTask, nullptr, nullptr, Task, SmartImplementation)
PW_DEFINE_COPY_SLOTS(ClipTask)

namespace {

uint8_t CapabilitiesOf(int32_t mode)
{
    switch (mode) {
    case ClipTask::kCut:
        return 0x01 | 0x02;
    case ClipTask::kCopy:
        return 0x01;
    case ClipTask::kPaste:
        return 0x04;
    case ClipTask::kReplace:
        return 0x02 | 0x04;
    case ClipTask::kClear:
        return 0x02;
    default:
        return 0;
    }
}

} // namespace

ClipTask::ClipTask(const SmartPtr<Clipboard>& appClip, const SmartPtr<View>& view, int32_t mode, intptr_t source,
    const Point& point)
    : appClip(appClip)
    , view(view)
    , source(source)
    , point(point)
    , capabilities(CapabilitiesOf(mode))
    , mode(mode)
{
    // The task's own clipboard holds only what the task puts there, never the system's.
    ownClip.Clear();
}

ClipTask::ClipTask(const ClipTask& other)
    : Smart(other)
    , Task(other)
    , SmartImplementation(other)
    , appClip(other.appClip)
    , ownClip(other.ownClip)
    , view(other.view)
    , pasted(other.pasted)
    , source(other.source)
    , point(other.point)
    , capabilities(other.capabilities)
    , mode(other.mode)
{
}

ClipTask& ClipTask::operator=(const ClipTask& other)
{
    appClip = other.appClip;
    ownClip = other.ownClip;
    view = other.view;
    pasted = other.pasted;
    source = other.source;
    point = other.point;
    capabilities = other.capabilities;
    mode = other.mode;
    return *this;
}

void ClipTask::Do()
{
    if (capabilities & (kCopies | kRemoves)) {
        SmartPtr<Smart> selection;
        view->Copy(selection);
        ownClip.Put(selection.Get());
    }
    if (capabilities & kPastes)
        pasted = appClip->Contents();
    Redo();
}

void ClipTask::Redo()
{
    if (capabilities & kRemoves)
        view->Clear();
    if (capabilities & kPastes)
        view->Paste(pasted, static_cast<int32_t>(source), point.h, point.v);
    if (capabilities & kCopies)
        appClip->Swap(ownClip);
    ReportChange();
}

void ClipTask::Undo()
{
    if (capabilities & kCopies)
        appClip->Swap(ownClip);
    if (capabilities & kPastes)
        view->Clear();
    if (capabilities & kRemoves)
        view->Paste(ownClip.Contents(), 1, point.h, point.v);
    ReportChange();
}

void ClipTask::ReportChange()
{
    // The view's contents changed, and its window (a document's marks itself modified) hears of it
    // as of any edit; a copy changes only the clipboard.
    if (capabilities & (kRemoves | kPastes))
        view->NotifyChanged();
}
