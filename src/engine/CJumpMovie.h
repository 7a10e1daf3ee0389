#pragma once

#include "engine/CJump.h"
#include "foundation/FileReference.h"
#include "foundation/SmartPtr.h"

// A jump to the movie of another show file. Links of the movie kinds hold one; the exporter names
// the linked page after the file.
//
// Stored form (version 2.0, oldest 2.0), inside the CJumpMovie scope: an object reference to the
// file reference (the empty reference for none).
class CJumpMovie : public CJump {
    PW_CLASS_INFO(CJumpMovie)
    PW_COPY_SLOTS

public:
    static const PersistentVersion version;

    CJumpMovie() = default;
    // The flag is not used.
    CJumpMovie(const SmartPtr<FileReference>& file, bool flag);
    CJumpMovie(const CJumpMovie& other);
    // Reads the stored form (scope opened with `version`).
    explicit CJumpMovie(ArchiveScope& scope);
    CJumpMovie& operator=(const CJumpMovie& other);

    void Write(Archive& archive) override;
    const PersistentVersion& GetPersistentVersion() const override { return version; }

    // The movie's file, or none.
    SmartPtr<FileReference> GetFile() const { return file; }
    // The file's name without its extension, even when the file is lost; empty without a file.
    String GetBaseName() const;

private:
    SmartPtr<FileReference> file;
};
