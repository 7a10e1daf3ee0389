#pragma once

#include "engine/CFrameIndex.h"
#include "engine/CJump.h"
#include "engine/CJumpFrame.h"
#include "engine/CJumpMovie.h"
#include "foundation/Persistent.h"
#include "foundation/PersistentVersion.h"
#include "foundation/SmartImplementation.h"
#include "foundation/SmartPtr.h"
#include "foundation/String.h"

#include <cstdint>

class ArchiveScope;

// What happens when playback reaches a frame or a sprite is clicked: a kind, a jump object (a
// labelled frame, another movie, or any jump), a target number, the frame's wait (-1: wait for a
// click), a movie kept beside the jump, and a web link. Copies share the jump, movie and web link.
//
// Kinds: 0 none; 1 go to the labelled frame; 2 go to the other movie; 3, 4, 5 playback's own
// moves; 6 as 1 and 7 as 2, remembering the way back; 8 and 9 read as 0; 10 a web link.
//
// Stored form (version 2.1, oldest 1.0): the kind and the target as one byte each (their low
// bytes), the jump as an object reference, the wait (signed 16-bit), the movie and, from 2.1 on,
// the web link as object references. A link of an older version gets the web link "Unknown URL".
class CLink : public Persistent, public SmartImplementation {
    PW_CLASS_INFO(CLink)
    PW_COPY_SLOTS

public:
    static const PersistentVersion version;
    static constexpr int32_t kWebLink = 10;

    CLink() = default;
    CLink(const CLink& other);
    explicit CLink(ArchiveScope& scope);
    CLink& operator=(const CLink& other);

    void Write(Archive& archive) override;
    const PersistentVersion& GetPersistentVersion() const override { return version; }

    // Kinds 8 and 9 read as 0.
    int32_t GetKind() const;
    // Kinds 1 and 6 need a CJumpFrame, 2 and 7 a CJumpMovie, 8 and 9 any jump; otherwise the kind
    // stays as it was, silently.
    void SetKind(int32_t value);
    int32_t GetTarget() const { return target; }
    void SetTarget(int32_t value) { target = value; }
    int16_t GetWait() const { return wait; }
    void SetWait(int16_t value) { wait = value; }
    SmartPtr<CJump> GetJump() const { return jump; }
    SmartPtr<CJumpMovie> GetJumpMovie() const;
    // The kind is left as it is.
    void SetJumpMovie(const SmartPtr<CJumpMovie>& value) { jump = value.Get(); }
    SmartPtr<CJumpMovie> GetMovie() const { return movie; }
    void SetMovie(const SmartPtr<CJumpMovie>& value) { movie = value; }
    // The index's label of the frame (made when missing) becomes the jump; kind 1.
    void SetFrameJump(const SmartPtr<CFrameIndex>& index, int16_t frame);
    // Stores the web link, drops jump and movie; kind 10. Only objects of the web-link class
    // (see pw::engine::WebLinkServices) are kept.
    void SetHREF(const SmartPtr<Persistent>& value);
    SmartPtr<Persistent> GetHREF() const { return href; }
    // The web link to export: the stored one (a placeholder "Unknown URL" only on a web-link
    // kind), else a page link named after the jump's movie file, else none.
    SmartPtr<Persistent> GetExportHREF(Smart* exporter) const;
    // Kind 0, 8 or 9, no target, jump, wait or movie; the web link does not count.
    bool IsEmpty() const;
    // The frame of the label jumped to, found in `index` (by name when the label is not its own,
    // which then becomes the jump); -1 when the jump is not a label or cannot be placed.
    int16_t ResolveFrame(CFrameIndex& index);
    // A label jump is replaced by the index's label of the same name, when it has one.
    void AdoptJumpFrame(CFrameIndex& index);
    // After `copy` was made from `original`: a label jump moves to its clone in the copy (by
    // name when the label was not the original's).
    void RepointJumpFrame(const CFrameIndex& original, CFrameIndex& copy);

private:
    CJumpFrame* JumpFrame() const { return SmartCast<CJumpFrame>(jump.Get()); }

    int32_t kind { 0 };
    int32_t target { 0 };
    SmartPtr<CJump> jump;
    int16_t wait { 0 };
    SmartPtr<CJumpMovie> movie;
    SmartPtr<Persistent> href;
};

namespace pw::engine {

// The text a web link read from an older link holds.
inline constexpr const char* kUnknownURL = "Unknown URL";

// What the export floor lends links: its web-link class, a web link of a text, a link to the
// exported page of a name, and a web link's text. Unset entries make no links and keep none.
struct WebLinkServices {
    const ClassInfo* linkClass = nullptr;
    SmartPtr<Persistent> (*makeLink)(const String& text) = nullptr;
    SmartPtr<Persistent> (*makePageLink)(Smart* exporter, const String& pageName) = nullptr;
    String (*linkText)(Persistent& link) = nullptr;
};
void SetWebLinkServices(const WebLinkServices& services);
const WebLinkServices& GetWebLinkServices();

} // namespace pw::engine
