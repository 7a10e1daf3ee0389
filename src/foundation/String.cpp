#include "foundation/String.h"

#include "foundation/ArchiveScope.h"
#include "foundation/Exception.h"
#include "foundation/FourCharCode.h"
#include "foundation/Memory.h"
#include "foundation/Stream.h"
#include "foundation/Utilities.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr uint32_t kTextType = pw::foundation::FourCharCode("TEXT");

TypedArray<char> ReadCharacters(ArchiveScope& stringScope)
{
    ArchiveScope arrayScope(stringScope, GenericArray::version);
    return TypedArray<char>(arrayScope);
}

// The one block every string's clipboard data goes into; freed at exit.
Memory& TextScrap()
{
    static Memory block;
    return block;
}

// Characters a caller passes from this string's own block are copied aside before the block changes.
class CharsAside {
public:
    CharsAside(const TypedArray<char>& characters, const char*& chars, uint32_t count)
    {
        if (!chars || count == 0 || characters.NumItems() == 0)
            return;
        auto start = reinterpret_cast<uintptr_t>(characters.ItemAddress(1));
        auto end = start + characters.NumItems();
        auto first = reinterpret_cast<uintptr_t>(chars);
        if (first < end && first + count > start) {
            aside.assign(chars, chars + count);
            chars = aside.data();
        }
    }

private:
    std::vector<char> aside;
};

} // namespace

PW_DEFINE_CLASS(String, &pw::foundation::CreateFunction<String>, nullptr, Model, SystemScrap)
PW_DEFINE_COPY_SLOTS(String)

constinit const PersistentVersion String::version { &String::classInfo, Fixed(1, 0), Fixed(1, 0),
    &pw::foundation::ReadInScope<String> };

std::string pw::foundation::TextOf(const String& text)
{
    uint32_t length;
    String::CharIterator chars(text, length);
    if (length == 0)
        return std::string();
    return std::string(chars.Chars(), std::find(chars.Chars(), chars.Chars() + length, '\0'));
}

pw::foundation::TextServices& pw::foundation::GetTextServices()
{
    static TextServices services;
    return services;
}

String::String() = default;

String::String(const char* chars)
{
    PutChars(chars, 0, CStringLength(chars));
}

String::String(const String& other)
    : Model(other)
    , SystemScrap(other)
    , characters(other.characters)
{
}

// The end is tested in 64 bits: a count that wraps past 2^32 must not pass as a short one.
String::String(const String& source, uint32_t from, uint32_t num)
{
    if (!(from > 0))
        AssertionFailed("from > 0", PW_HERE);
    if (!(static_cast<uint64_t>(from) + num - 1 <= source.Length()))
        AssertionFailed("from+num-1 <= oldLength", PW_HERE);
    if (num == 0)
        return;
    uint32_t length;
    CharIterator chars(source, length);
    PutChars(chars.Chars() + from - 1, 0, num);
}

String::String(int32_t value)
{
    SetLong(value);
}

String::String(double value)
{
    SetDouble(value);
}

String::String(ArchiveScope& scope)
    : characters(ReadCharacters(scope))
{
}

String::~String() = default;

String::CharIterator::CharIterator(const String& text, uint32_t& length)
    : lock(text.characters, length)
    , chars(length == 0 ? nullptr : static_cast<const char*>(text.characters.ItemAddress(1)))
{
}

void String::GetCString(char* buffer, uint32_t size) const
{
    if (size == 0)
        return;
    uint32_t length;
    CharIterator chars(*this, length);
    uint32_t n = std::min(length, size - 1);
    if (n > 0)
        std::memcpy(buffer, chars.Chars(), n);
    buffer[n] = 0;
}

void String::GetCountedText(unsigned char* buffer) const
{
    uint32_t length;
    CharIterator chars(*this, length);
    uint32_t n = std::min<uint32_t>(length, 255);
    buffer[0] = static_cast<unsigned char>(n);
    if (n > 0)
        std::memcpy(buffer + 1, chars.Chars(), n);
}

bool String::GetLong(int32_t& value) const
{
    char text[16];
    GetCString(text, sizeof text);
    return CToLong(text, &value);
}

bool String::GetDouble(double& value) const
{
    char text[16];
    GetCString(text, sizeof text);
    double read;
    if (!ParseDouble(text, &read))
        return false;
    value = read;
    return true;
}

bool String::operator==(const String& other) const
{
    return characters.Equals(other.characters);
}

String String::Concat(const String& other) const
{
    String result(*this);
    result.Append(other);
    return result;
}

// A forward search starts no earlier than position 1 and a backward one ends no later than the
// last character, so no start position reads outside the string.
uint32_t String::Find(const String& pattern, uint32_t from, int direction) const
{
    uint32_t m = pattern.Length();
    uint32_t n = Length();
    if (m == 0 || n < m)
        return 0;
    if (direction != kForward && direction != kBackward)
        ThrowError("Unknown direction in String::Find", PW_HERE);
    uint32_t patternLength;
    CharIterator patternChars(pattern, patternLength);
    uint32_t textLength;
    CharIterator textChars(*this, textLength);
    const char* p = patternChars.Chars();
    const char* t = textChars.Chars();
    auto matchesAt = [&](uint32_t start) { return t[start - 1] == p[0] && EqualBlocks(t + start - 1, p, m); };
    if (direction == kForward) {
        for (uint32_t start = std::max<uint32_t>(from, 1); start <= n - m + 1; ++start) {
            if (matchesAt(start))
                return start;
        }
        return 0;
    }
    uint32_t last = std::min(from, n);
    if (last < m)
        return 0;
    for (uint32_t start = last - m + 1; start >= 1; --start) {
        if (matchesAt(start))
            return start;
    }
    return 0;
}

// The common case of building text piece by piece: no call leaves this function but the length,
// the copy and, when someone watches, the announcement.
void String::AppendChars(const char* chars)
{
    uint32_t count = chars ? static_cast<uint32_t>(std::strlen(chars)) : 0;
    InsertChars(chars, Length(), count);
}

void String::Append(const String& other)
{
    Insert(other, Length());
}

// The source stays locked while it is read, so a string inserted into itself fails the array's
// lock assertion before anything changes.
void String::Insert(const String& other, uint32_t after)
{
    uint32_t length;
    CharIterator chars(other, length);
    InsertChars(chars.Chars(), after, length);
}

void String::SetChars(const char* chars)
{
    uint32_t count = CStringLength(chars);
    CharsAside aside(characters, chars, count);
    characters.DeleteAll();
    InsertChars(chars, 0, count);
}

void String::SetCountedText(const unsigned char* counted)
{
    const char* chars = reinterpret_cast<const char*>(counted + 1);
    uint32_t count = counted[0];
    CharsAside aside(characters, chars, count);
    characters.DeleteAll();
    InsertChars(chars, 0, count);
}

void String::Clear()
{
    uint32_t oldLength = Length();
    characters.DeleteAll();
    NotifyWatchers(1, oldLength, -static_cast<int32_t>(oldLength));
}

String& String::Assign(const String& other)
{
    if (&other == this)
        return *this;
    uint32_t oldLength = Length();
    characters = other.characters;
    NotifyWatchers(1, oldLength, static_cast<int32_t>(static_cast<int64_t>(Length()) - oldLength));
    return *this;
}

// Replaces on the array directly and announces once: from the first match, the characters (as
// they were before the call) up to the end of the last match, and the change of length. Inserted
// text is never searched again.
void String::ReplaceAll(const String& pattern, const String& replacement)
{
    uint32_t r;
    CharIterator replacementChars(replacement, r);
    uint32_t position = 1;
    uint32_t first = 0;
    int64_t span = 0;
    int64_t delta = 0;
    for (;;) {
        uint32_t p = pattern.Length();
        uint32_t start = Find(pattern, position, kForward);
        if (start == 0)
            break;
        if (first == 0)
            first = start;
        characters.DeleteItems(start, p);
        PutChars(replacementChars.Chars(), start - 1, r);
        span = (start - delta) - first + p;
        delta += static_cast<int64_t>(r) - p;
        position = start + r;
    }
    if (span > 0 || delta != 0)
        NotifyWatchers(first, static_cast<uint32_t>(span), static_cast<int32_t>(delta));
}

String String::ExtractWord(const String& delimiters)
{
    uint32_t n = Length();
    auto isDelimiter = [&](uint32_t position) { return delimiters.characters.IndexOf(characters[position]) != 0; };
    uint32_t i = 0;
    while (i < n && isDelimiter(i + 1))
        ++i;
    uint32_t start = i + 1;
    while (i < n && !isDelimiter(i + 1))
        ++i;
    uint32_t end = i;
    while (i < n && isDelimiter(i + 1))
        ++i;
    String word(*this, start, end + 1 - start);
    if (i > 0) {
        characters.DeleteItems(1, i);
        NotifyWatchers(1, n, -static_cast<int32_t>(i));
    }
    return word;
}

void String::SetLong(int32_t value)
{
    char text[16];
    FormatLong(value, text, sizeof text);
    characters.DeleteAll();
    PutChars(text, 0, CStringLength(text));
}

void String::SetDouble(double value)
{
    char text[16];
    FormatDouble(value, text, sizeof text);
    characters.DeleteAll();
    PutChars(text, 0, CStringLength(text));
}

void String::ToggleWatcher(ListListener* watcher)
{
    watchers.Toggle(watcher);
}

// Last registered first; a watcher that removes itself (or another) while told is skipped safely.
void String::TellWatchers(uint32_t from, uint32_t count, int32_t delta)
{
    ListChange change { from, count, delta };
    for (uint32_t index = watchers.NumItems(); index > 0; --index) {
        if (index <= watchers.NumItems())
            watchers[index]->ListChanged(change);
    }
}

View* String::MakeView(View& container)
{
    auto makeTextView = pw::foundation::GetTextServices().makeTextView;
    if (Unreferenced() || !makeTextView)
        return nullptr;
    return makeTextView(container, *this);
}

void String::Draw(DisplayPort& port, const Rect& rect, const Color& color)
{
    auto drawString = pw::foundation::GetTextServices().drawString;
    if (Length() == 0 || !drawString)
        return;
    uint32_t length;
    CharIterator chars(*this, length);
    drawString(port, chars.Chars(), length, rect, color);
}

Point String::Measure(int32_t width)
{
    auto measureText = pw::foundation::GetTextServices().measureText;
    if (!measureText)
        return Point(0, 0);
    uint32_t length;
    CharIterator chars(*this, length);
    return measureText(chars.Chars(), length, width);
}

Smart* String::TextOperation(int32_t)
{
    Exception::Warn(kNotImplemented, PW_HERE);
    return nullptr;
}

void String::Write(Archive& archive)
{
    ArchiveScope scope(archive, version);
    scope.Put(characters);
}

uint32_t String::GetObjectSize()
{
    return SmartImplementation::GetObjectSize() + characters.Block().Size() + watchers.Block().Size();
}

ScrapTypeList String::GetTypes()
{
    ScrapTypeList types;
    types.Append(kTextType);
    return types;
}

Memory& String::GetData(uint32_t type)
{
    if (type != kTextType)
        AssertionFailed("type == osType", PW_HERE);
    Memory& block = TextScrap();
    block.SetSize(Length() + 1);
    block.Lock();
    GetCString(static_cast<char*>(block.Ptr()), Length() + 1);
    block.Unlock();
    return block;
}

Stream& operator<<(Stream& stream, const String& text)
{
    uint32_t length;
    String::CharIterator chars(text, length);
    if (length > 0)
        stream.Write(chars.Chars(), length);
    return stream;
}
