#pragma once

#include "authoring/panes/CEditPane.h"
#include "authoring/tools/CDropperTool.h"
#include "ui/StyledText.h"
#include "ui/TextClient.h"
#include "ui/TextView.h"

class CResource;

// The pane in which a text item of a page is edited: an edit pane holding one editable text view
// over the item's styled text. The pane's frame fits the text view's content rectangle onto the
// rectangle it is given, grows with the text so that all of it shows as the page will draw it,
// keeps the text on the page (its parent), recolours the whole text in the foreground colour
// whenever the paint changes, and hands back the resource that places the text on the page. It is
// the dropper's paint client and the text view's linked client from construction to destruction.
class CTextView : public CEditPane, public pw::authoring::PaintClient, public TextClient {
    PW_CLASS_INFO(CTextView)

public:
    CTextView(View* parent, const Rect& bounds, const SmartPtr<StyledText>& text);
    ~CTextView() override;

    // `rect` becomes the content rectangle placed at the incoming top-left corner (moved as the
    // box moved to keep the text on the page): no wider or higher than the text's own extent when
    // it fits on one line, else as wide and high as every line of the text laid out at the
    // rectangle's width; `resource` a new resource over the text. Always true.
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
    // TextClient: the box (the pane's bounds, which the text view follows) fits the changed text.
    void RevealRange(const int32_t*) override { }
    void TargetChanged(void* message) override;

    const SmartPtr<TextView>& GetTextView() const { return textView; }
    const SmartPtr<StyledText>& GetText() const { return text; }

private:
    void FitText();

    SmartPtr<TextView> textView;
    SmartPtr<StyledText> text;
    // The dropper registered with, left again at destruction even when a new tools window has
    // made another since.
    SmartPtr<CDropperTool> dropper;
    // The page the text stays on (the parent's bounds when the pane was made) and the box as it
    // was opened, the least it shows.
    Rect page;
    Rect opened { 0, 0, 0, 0 };
};
