#pragma once

#include "foundation/ArrayLock.h"
#include "foundation/ListChange.h"
#include "foundation/Model.h"
#include "foundation/Point.h"
#include "foundation/SystemScrap.h"
#include "foundation/TypedArray.h"

#include <cstdint>
#include <string>

class ArchiveScope;
class Color;
class DisplayPort;
class Memory;
class Stream;
struct Rect;

// The framework's one text type: 8-bit characters (any byte, NUL included) at 1-based positions,
// no terminator stored. It is a model that a text view edits and that object files store, and a
// system scrap that goes to the clipboard as 'TEXT'. Every edit made through the editing calls is
// announced afterwards to the registered watchers, last registered first, with one ListChange:
// from the first changed position, `count` old characters replaced, the length changed by
// `delta`. Watchers are not counted; each removes itself (ToggleWatcher) before it dies.
class String : public Model, public SystemScrap {
    PW_CLASS_INFO(String)
    PW_COPY_SLOTS

public:
    static const PersistentVersion version;

    // Searching directions of Find.
    static constexpr int kForward = 0;
    static constexpr int kBackward = 1;

    String();
    // The characters up to the NUL; null gives the empty string.
    String(const char* chars);
    // The characters only; no watchers.
    String(const String& other);
    // The `num` characters from position `from` (asserted within the source).
    String(const String& source, uint32_t from, uint32_t num);
    // The decimal text of the number (SetLong, SetDouble).
    explicit String(int32_t value);
    explicit String(double value);
    // Reads the string stored in `scope`, a scope opened with String's record.
    explicit String(ArchiveScope& scope);
    ~String() override;

    uint32_t Length() const { return characters.NumItems(); }
    // Copies min(Length, size - 1) characters and a NUL; nothing for size 0.
    void GetCString(char* buffer, uint32_t size) const;
    // A length byte (at most 255) and that many characters into a 256-byte buffer.
    void GetCountedText(unsigned char* buffer) const;
    // The number at the start of the first 15 characters (0 when none); always true.
    bool GetLong(int32_t& value) const;
    // False (value unchanged) when the first 15 characters hold no number.
    bool GetDouble(double& value) const;
    // Same length and bytes; exact and case-sensitive.
    bool operator==(const String& other) const;
    bool operator!=(const String& other) const { return !(*this == other); }
    // A new string: this one with `other` appended.
    String Concat(const String& other) const;
    // The 1-based start of the first match searching from `from` (forward: matches starting at or
    // after it; backward: matches ending at or before it), 0 when none.
    uint32_t Find(const String& pattern, uint32_t from, int direction) const;

    // Editing; each announces what it changed (see the class comment).
    void InsertChars(const char* chars, uint32_t after, uint32_t count)
    {
        if (count == 0)
            return;
        PutChars(chars, after, count);
        NotifyWatchers(after + 1, 0, static_cast<int32_t>(count));
    }
    void AppendChars(const char* chars);
    void Append(const String& other);
    void Insert(const String& other, uint32_t after);
    void SetChars(const char* chars);
    void SetCountedText(const unsigned char* counted);
    void Clear();
    String& Assign(const String& other);
    String& operator=(const String& other) { return Assign(other); }
    void ReplaceAll(const String& pattern, const String& replacement);
    // Removes the first word and the delimiters around it; returns the word.
    String ExtractWord(const String& delimiters);
    // These two tell no watcher.
    void SetLong(int32_t value);
    void SetDouble(double value);

    // Registers an absent watcher (last), removes a present one.
    void ToggleWatcher(ListListener* watcher);

    // Editable: a text view on this string inside the container (none for an unreferenced string).
    View* MakeView(View& container) override;
    String& GetName() override { return *this; }
    // Draws the characters clipped to `rect` in `color`; an empty string draws nothing.
    virtual void Draw(DisplayPort& port, const Rect& rect, const Color& color);
    // The size the text takes in the standard style when wrapped at `width` (0: no limit).
    virtual Point Measure(int32_t width);
    // A text operation the program leaves empty: warns "Not implemented." and answers null.
    virtual Smart* TextOperation(int32_t argument);

    void Write(Archive& archive) override;
    const PersistentVersion& GetPersistentVersion() const override { return version; }
    uint32_t GetObjectSize() override;

    // SystemScrap: 'TEXT' only. The data block is shared by all strings: the characters and a NUL,
    // valid until the next GetData of any string.
    ScrapTypeList GetTypes() override;
    Memory& GetData(uint32_t type) override;

    // Holds the characters locked (so the string cannot change size) while raw addresses are used.
    class CharIterator {
    public:
        CharIterator(const String& text, uint32_t& length);
        // The first character, or null for an empty string.
        const char* Chars() const { return chars; }

    private:
        ArrayLock lock;
        const char* chars;
    };

private:
    void NotifyWatchers(uint32_t from, uint32_t count, int32_t delta)
    {
        if (watchers.NumItems() != 0)
            TellWatchers(from, count, delta);
    }
    void TellWatchers(uint32_t from, uint32_t count, int32_t delta);
    // Inserts without announcing; copes with characters taken from this string itself.
    void PutChars(const char* chars, uint32_t after, uint32_t count)
    {
        if (count == 0)
            return;
        if (after == characters.NumItems())
            characters.AppendItems(chars, count);
        else
            characters.InsertItems(chars, after, count);
    }

    mutable TypedArray<char> characters;
    TypedArray<ListListener*> watchers;
};

// Writes the raw characters (no length, no terminator).
Stream& operator<<(Stream& stream, const String& text);

namespace pw::foundation {

// What the graphics and window floors lend the text model: drawing, measuring and a text view.
// Each is set at start-up by the floor that builds it; an unset one does nothing (measuring gives
// (0, 0), no view is made).
struct TextServices {
    void (*drawString)(DisplayPort& port, const char* chars, uint32_t length, const Rect& rect,
        const Color& color) = nullptr;
    Point (*measureText)(const char* chars, uint32_t length, int32_t width) = nullptr;
    View* (*makeTextView)(View& container, String& text) = nullptr;
};

TextServices& GetTextServices();

// The text of a string up to its first NUL.
std::string TextOf(const String& text);

} // namespace pw::foundation
