#include "authoring/palettes/CCommandButton.h"

#include "authoring/resources/LoadedSound.h"
#include "graphics/Image.h"
#include "graphics/Sound.h"

PW_DEFINE_CLASS(CCommandButton, nullptr, nullptr, ImageView)

CCommandButton::CCommandButton(View* parent, const Rect& frame, const SmartPtr<GenericSignal>& command,
    const SmartPtr<ImageResource>& picture, const SmartPtr<SoundResource>& sound)
    : ImageView(parent, frame, nullptr)
    , command(command)
    , sound(sound)
{
    if (picture.Valid())
        SetPicture(picture);
}

void CCommandButton::SetPicture(const SmartPtr<ImageResource>& newPicture)
{
    picture = newPicture;
    Rect bounds = GetBounds();
    Point size = picture.Valid() ? picture->GetSize() : bounds.Size();
    SetBounds(bounds.left, bounds.top, bounds.left + size.h, bounds.top + size.v);
    InvalidateView(false);
}

void CCommandButton::DrawContent(DisplayPort& port, Area& area)
{
    if (!picture.Valid())
        return;
    SmartPtr<Smart> loaded = picture->Get();
    SetImage(SmartCast<Image>(loaded.Get()));
    ImageView::DrawContent(port, area);
    SetImage(nullptr);
}

bool CCommandButton::MouseDown(int32_t h, int32_t v, BitFlags modifiers, uint8_t clicks, const SmartPtr<Window>& window)
{
    if (SmartPtr<Sound> clip = pw::authoring::LoadedSound(sound); clip.Valid())
        Sound::PlayFrom(clip);
    if (!command.Valid())
        return View::MouseDown(h, v, modifiers, clicks, window);
    NotifyCommand(command);
    return true;
}
