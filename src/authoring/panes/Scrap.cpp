#include "authoring/panes/Scrap.h"

SmartPtr<Clipboard> gScrap;

namespace pw::authoring {

void BindScrap(const SmartPtr<Clipboard>& clipboard)
{
    gScrap = clipboard;
}

} // namespace pw::authoring
