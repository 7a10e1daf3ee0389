#include "authoring/panes/MovieEditors.h"

#include "authoring/palettes/CToolsDir.h"
#include "authoring/panes/CHAPane.h"
#include "authoring/panes/CPixPane.h"
#include "authoring/panes/CTextView.h"
#include "authoring/tools/CTextTool.h"
#include "engine/CMovieText.h"
#include "graphics/BitMap.h"

namespace {

SmartPtr<View> MakeEditView(CMovieRes& movie, View* pane, const Rect& rect, CResource* item)
{
    auto* animation = dynamic_cast<CHAPane*>(pane);
    Rect shown = animation ? animation->ToPane(rect) : rect;
    SmartPtr<Persistent> object = item ? item->GetObject() : nullptr;
    SmartPtr<CEditPane> editor;
    if (SmartCast<CMovieText>(&movie)) {
        SmartPtr<StyledText> text = SmartCast<StyledText>(object.Get());
        if (!text.Valid()) {
            auto* plain = SmartCast<String>(object.Get());
            text = new StyledText(plain ? *plain : String(""));
        }
        editor = new CTextView(pane, shown, text);
    } else {
        auto* bitmap = SmartCast<BitMap>(object.Get());
        SmartPtr<CStamp> picture = bitmap ? new CStamp(SmartPtr<BitMap>(bitmap), Color(0)) : nullptr;
        SmartPtr<CPixPane> painter
            = new CPixPane(pane, shown.left, shown.top, shown.right, shown.bottom, shown, picture);
        painter->SetPage(animation);
        editor = painter.Get();
    }
    editor->Lock();
    return editor.Get();
}

bool TakeResult(View& view, Rect& rect, SmartPtr<CResource>& resource)
{
    auto* editor = SmartCast<CEditPane>(&view);
    return editor && editor->TakePicture(rect, resource);
}

} // namespace

namespace pw::authoring {

void RegisterMovieEditors()
{
    CMovieRes::SetEditors(&MakeEditView, &TakeResult);
}

SmartPtr<TextStyle> NewTextStyle(CTool& current)
{
    auto* tool = dynamic_cast<CTextTool*>(&current);
    SmartPtr<CTextTool> shared = tool ? SmartPtr<CTextTool>(tool) : CToolsDir::GetTextTool();
    return new TextStyle(*shared->GetTextStyle().Get());
}

} // namespace pw::authoring
