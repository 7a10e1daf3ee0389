#pragma once

#include "authoring/panes/CEditPane.h"
#include "authoring/tools/CDropperTool.h"
#include "ui/StyledText.h"
#include "ui/TextClient.h"
#include "ui/TextView.h"

class CResource;

// The pane in which a text item of a page is edited: an edit pane holding one editable text view
// over the item's styled text. The pane's frame fits the text view's content rectangle onto the
// rectangle it is given, follows the text view when that changes size, recolours the whole text
// in the foreground colour whenever the paint changes, and hands back the resource that places
// the text on the page. It is the dropper's paint client and the text view's linked client from
// construction to destruction.
class CTextView : public CEditPane, public pw::authoring::PaintClient, public TextClient {
    PW_CLASS_INFO(CTextView)

public:
    CTextView(View* parent, const Rect& bounds, const SmartPtr<StyledText>& text);
    ~CTextView() override;

    // `rect` becomes the content rectangle placed at the incoming top-left corner: no wider or
    // higher than the text's own extent when it fits on one line, else wide and high enough for
    // every line of the text laid out at the rectangle's width; `resource` a new resource over the
    // text. Always true.
    bool MakeResource(Rect& rect, SmartPtr<CResource>& resource);
    // The edited text is handed back as a resource whenever editing ends.
    bool TakePicture(Rect& rect, SmartPtr<CResource>& resource) override { return MakeResource(rect, resource); }
    void SetStyle(const SmartPtr<TextStyle>& style);
    // The "Pick Color" command: opens the foreground colour selector at the bottom-right corner
    // of the default text box, 300 by 100 about (320, 200), so that the next press picks the
    // text's colour.
    void DefaultBounds();

    // PaintClient: the whole text takes the foreground colour.
    void PaintChanged(CDropperTool* dropper) override;
    // TextClient: the pane's bounds follow the text view's.
    void RevealRange(const int32_t*) override { }
    void TargetChanged(void* message) override;

    const SmartPtr<TextView>& GetTextView() const { return textView; }
    const SmartPtr<StyledText>& GetText() const { return text; }

private:
    SmartPtr<TextView> textView;
    SmartPtr<StyledText> text;
    // The dropper registered with, left again at destruction even when a new tools window has
    // made another since.
    SmartPtr<CDropperTool> dropper;
};
