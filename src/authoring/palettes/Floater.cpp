#include "authoring/palettes/Floater.h"

#include "ui/WindowFrame.h"

Floater::Floater(int32_t kind)
    : Window(new String("Floater"), kind, false, false, Window::defaultSize)
{
}

void Floater::Hide()
{
    if (ToggleShown(false))
        ToggleShown(true);
}

bool Floater::ToggleShown(bool toggle)
{
    if (toggle) {
        bool show = !IsVisible();
        Show(show);
        flags = show ? (flags | kShownFlag) : (flags & ~kShownFlag);
    }
    return IsVisible();
}
