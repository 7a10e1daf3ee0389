#include "app/BuildMenus.h"

#include "app/MenuCommands.h"
#include "app/MenuTable.h"
#include "app/links/LinkSignal.h"
#include "foundation/String.h"
#include "engine/CPanePlay.h"
#include "ui/AppSignals.h"
#include "ui/ClipTask.h"
#include "ui/DocWindow.h"
#include "ui/DocWindowSignals.h"
#include "ui/Menu.h"
#include "ui/MenuBar.h"
#include "ui/TextView.h"
#include "ui/Window.h"
#include "ui/WindowSignals.h"

#include <cstring>

namespace pw::app {

namespace {

// The page pane's numbered commands that raise and lower the selected sprites.
constexpr int32_t kRaiseCommand = 2026;
constexpr int32_t kLowerCommand = 2027;

GenericSignal* MakeSignal(MenuCommand command)
{
    using enum MenuCommand;
    switch (command) {
    case kNewPage:
        return new pw::ui::NewDocumentSignal;
    case kOpen:
        return new OpenSignal(0);
    case kImport:
        return new ImportSignal;
    case kClose:
        return new CloseSignal;
    case kSave:
        return new SaveSignal(DocWindow::kSave);
    case kSaveAs:
        return new SaveSignal(DocWindow::kSaveAs);
    case kQuit:
        return new QuitSignal;
    case kCut:
        return new pw::ui::ClipTaskSignal(ClipTask::kCut);
    case kCopy:
        return new pw::ui::ClipTaskSignal(ClipTask::kCopy);
    case kPaste:
        return new pw::ui::ClipTaskSignal(ClipTask::kPaste);
    case kDelete:
        return new pw::ui::ClipTaskSignal(ClipTask::kClear);
    case kBringForwards:
        return new NumberCommandSignal(kRaiseCommand);
    case kSendBackwards:
        return new NumberCommandSignal(kLowerCommand);
    case kUndo:
        return new UndoSignal;
    case kSoundOn:
        return new NumberCommandSignal(CHAApp::kSoundSwitchCommand);
    case kLinkURL:
        return new LinkSignal(LinkSignal::kWebAddress);
    case kLinkEMail:
        return new LinkSignal(LinkSignal::kMailAddress);
    case kPublish:
        return new PublishSignal;
    case kPickColor:
        return new PickColorSignal;
    case kSeparator:
    case kTextEntries:
        break;
    }
    return new UnavailableSignal;
}

} // namespace

SmartPtr<MenuBar> BuildMenus()
{
    SmartPtr<MenuBar> bar(new MenuBar);
    SmartPtr<Menu> menu;
    const char* current = nullptr;
    for (const MenuEntry& entry : MenuTable()) {
        if (!current || std::strcmp(current, entry.menu) != 0) {
            current = entry.menu;
            menu = entry.command == MenuCommand::kTextEntries ? TextView::BuildTextMenu()
                                                               : SmartPtr<Menu>(new Menu(String(entry.menu)));
            bar->AddMenu(menu);
        }
        if (entry.command == MenuCommand::kTextEntries)
            continue;
        if (entry.command == MenuCommand::kSeparator) {
            menu->AddSeparator();
            continue;
        }
        uint32_t number = entry.command == MenuCommand::kUndo ? Window::kUndoCommand : 0;
        menu->AddItem(String(entry.title), entry.key, SmartPtr<GenericSignal>(MakeSignal(entry.command)), number);
    }
    return bar;
}

SmartPtr<GenericSignal> MakeMenuSignal(MenuCommand command)
{
    return SmartPtr<GenericSignal>(MakeSignal(command));
}

} // namespace pw::app
