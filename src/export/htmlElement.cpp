#include "export/htmlElement.h"

#include "foundation/MemoryStream.h"

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

Stream& CopyStreamContents(Stream& out, MemoryStream& in)
{
    Memory& block = in.Block();
    block.Lock();
    try {
        out.Write(block.Ptr(), in.GetLength());
    } catch (...) {
        block.Unlock();
        throw;
    }
    block.Unlock();
    return out;
}

// The ampersand goes first, so the references made for the others are not escaped again.
String pw::exporting::EscapedHTML(const String& text)
{
    String escaped(text);
    escaped.ReplaceAll(String("&"), String("&amp;"));
    escaped.ReplaceAll(String("<"), String("&lt;"));
    escaped.ReplaceAll(String(">"), String("&gt;"));
    escaped.ReplaceAll(String("\""), String("&quot;"));
    return escaped;
}
