#include "export/htmlWrapper.h"

#include "foundation/ArchiveScope.h"
#include "foundation/ListData.h"

PW_DEFINE_CLASS(htmlWrapper, nullptr, nullptr, htmlElement)
PW_DEFINE_COPY_SLOTS(htmlWrapper)

constinit const PersistentVersion htmlWrapper::version { &htmlWrapper::classInfo, Fixed(1, 0), Fixed(1, 0),
    &pw::foundation::ReadInScope<htmlWrapper> };

htmlWrapper::htmlWrapper(const SmartList<htmlElement>& elements)
    : elements(elements)
{
}

htmlWrapper::htmlWrapper(ArchiveScope& scope)
{
    auto* stored = SmartCast<ListData>(scope.ReadObject());
    if (!stored)
        return;
    for (uint32_t index = 1; index <= stored->NumItems(); ++index) {
        if (auto* element = SmartCast<htmlElement>(stored->GetItem(index)))
            elements.Append(SmartPtr<htmlElement>(element));
    }
}

htmlWrapper::htmlWrapper(const htmlWrapper& other)
    : Smart()
    , htmlElement(other)
    , elements(other.elements)
{
}

htmlWrapper& htmlWrapper::operator=(const htmlWrapper& other)
{
    elements = other.elements;
    return *this;
}

htmlWrapper::~htmlWrapper() = default;

void htmlWrapper::Write(Archive& archive)
{
    ArchiveScope scope(archive, version);
    scope.WriteObject(elements.Data());
}

void htmlWrapper::WriteHTML(SmartPtr<FileReference> folder, const String& pageName, SmartList<FileReference> files,
    Stream& out)
{
    for (uint32_t index = 1; index <= elements.NumItems(); ++index)
        if (htmlElement* element = elements.Item(index))
            element->WriteHTML(folder, pageName, files, out);
}
