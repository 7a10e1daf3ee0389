// Shared ground for the engine tests: a concrete movie (CMovie is abstract), a stand-in for the
// export floor's web link, one type index holding every stored engine class, and round trips
// through real object files in memory.
#pragma once

#include "engine/CFrameIndex.h"
#include "engine/CJump.h"
#include "engine/CJumpFrame.h"
#include "engine/CJumpMovie.h"
#include "engine/CLink.h"
#include "engine/CMovie.h"
#include "engine/CStamp.h"
#include "engine/CXform.h"
#include "engine/PathPoint.h"
#include "foundation/ArchiveScope.h"
#include "foundation/FileReference.h"
#include "foundation/GenericArray.h"
#include "foundation/ListData.h"
#include "foundation/MemoryStream.h"
#include "foundation/ObjectFile.h"
#include "foundation/String.h"
#include "foundation/TypeIndex.h"
#include "graphics/Area.h"
#include "graphics/BitMap.h"
#include "graphics/ColorTable.h"
#include "graphics/DisplayPort.h"
#include "graphics/Sound.h"

#include <cstdint>
#include <vector>

namespace engine {

// A movie that copies frames by range copy, stored as the movie body in a scope of its own.
class TestMovie : public CMovie {
    PW_CLASS_INFO(TestMovie)

public:
    static const PersistentVersion version;

    explicit TestMovie(const Rect& bounds = kDefaultBounds)
        : CMovie(bounds)
    {
    }
    TestMovie(const TestMovie& other) = default;
    TestMovie(CMovie& source, int16_t start, int16_t count, bool cut)
        : CMovie(source, start, count, cut)
    {
    }
    explicit TestMovie(ArchiveScope& scope)
        : CMovie(InnerScope(scope).Get())
    {
    }

    void Write(Archive& archive) override
    {
        ArchiveScope scope(archive, version);
        CMovie::Write(scope.GetArchive());
    }
    const PersistentVersion& GetPersistentVersion() const override { return version; }
    SmartPtr<CMovie> CopyFrames(int16_t start, int16_t count, bool cut) override
    {
        return new TestMovie(*this, start, count, cut);
    }

private:
    struct InnerScope {
        explicit InnerScope(ArchiveScope& outer)
            : scope(outer, CMovie::version)
        {
        }
        ArchiveScope& Get() { return scope; }
        ArchiveScope scope;
    };
};

// A movie of one frame per colour that paints frame f as a block of colors[f] over
// its bounds mapped through the transform, and counts how often it really draws.
class PaintedMovie : public TestMovie {
public:
    explicit PaintedMovie(const Rect& bounds, std::vector<Color> colors = { Color(7) })
        : TestMovie(bounds)
        , colors(std::move(colors))
    {
        if (this->colors.size() > 1)
            InsertFrames(1, static_cast<int16_t>(this->colors.size() - 1), true, true);
    }
    bool DrawFrame(DisplayPort& port, const SmartPtr<CXform>& xform, int16_t frame, const Color& color) override;

    std::vector<Color> colors;
    int draws { 0 };
};

// The web link the export floor will lend: a text.
class TestWebLink : public Persistent, public SmartImplementation {
    PW_CLASS_INFO(TestWebLink)
    PW_COPY_SLOTS

public:
    static const PersistentVersion version;

    explicit TestWebLink(const String& text = String())
        : text(text)
    {
    }
    TestWebLink(const TestWebLink& other) = default;
    explicit TestWebLink(ArchiveScope& scope);
    TestWebLink& operator=(const TestWebLink& other) = default;
    void Write(Archive& archive) override;
    const PersistentVersion& GetPersistentVersion() const override { return version; }

    String text;
};

// Lends the test web link to links for the life of the object.
class WithWebLinks {
public:
    WithWebLinks();
    ~WithWebLinks();
};

// Every stored class an engine test writes.
SmartPtr<TypeIndex> EngineTypeIndex();
// The object file's bytes for the root.
std::vector<uint8_t> Store(Smart* root);
// The root read back from the bytes, empty when the file was refused.
SmartPtr<Smart> Load(const std::vector<uint8_t>& bytes);

std::string Text(const String& text);

} // namespace engine
