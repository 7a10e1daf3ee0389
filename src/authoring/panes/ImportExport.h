#pragma once

#include "foundation/Clipboard.h"
#include "foundation/FileReference.h"
#include "foundation/SmartPtr.h"
#include "foundation/String.h"

#include <cstdint>

class App;
class View;

// Bringing media files into a page through the clipboard. One routine reads a file for both the
// application's import command and the browser:
//  - a sound (WAVE or AIFF) becomes a sound sprite,
//  - a picture (BMP), a movie or a page becomes a sprite showing it from frame 0 (a page that has
//    a background of its own becomes a background, which a paste lays behind the pictures),
// either sprite named `name`, or after the file when no name is given, and put on the
// application's clipboard as a list of that one sprite; a stored list (of sprites) goes there
// unchanged. False, with the clipboard untouched, when the file gives nothing or nothing that
// can enter a page; a file that cannot be read (missing, damaged) raises its failure, the
// clipboard untouched.
bool ImportToClipboard(App& app, const SmartPtr<FileReference>& file, const SmartPtr<String>& name);

// Pastes the clipboard into the pane as one undoable step: paste value 3 when dropped at (0, 0),
// 2 at any other point; the step becomes the pane's window's undo step.
void ImportObject(const SmartPtr<Clipboard>& clipboard, const SmartPtr<View>& pane, int32_t h, int32_t v);

// Two import commands of the animation pane that are not carried out.
void ImportStubA(const SmartPtr<Smart>& unused);
void ImportStubB(const SmartPtr<Smart>& unused);
