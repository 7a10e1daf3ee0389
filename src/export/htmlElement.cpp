#include "export/htmlElement.h"

PW_DEFINE_CLASS(htmlElement, nullptr, nullptr, Persistent, SmartImplementation)
PW_DEFINE_NO_COPY_SLOTS(htmlElement)

htmlElement::htmlElement(const htmlElement& other)
    : Smart()
    , Persistent(other)
    , SmartImplementation(other)
{
}

String PageFileName(const String& pageName)
{
    String name(pageName);
    name.ReplaceAll(String(" "), String("_"));
    name.ReplaceAll(String("%"), String());
    name.ReplaceAll(String("/"), String());
    return name;
}

String FileBaseName(FileReference& file)
{
    String name;
    file.GetNameParts(name);
    return name;
}
