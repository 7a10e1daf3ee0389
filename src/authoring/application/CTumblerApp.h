#pragma once

#include "authoring/palettes/CToolsDir.h"
#include "authoring/palettes/OptionViewHost.h"
#include "engine/CHAApp.h"
#include "foundation/FileCreatorType.h"
#include "foundation/Signal.h"

#include <cstdint>
#include <functional>

class CHAPane;
class CTool;
class Window;

// The children's authoring application: the animation application with a start-up and a goodbye
// sound (both silent while the options' no-sounds bit is set), the frame overview's window opened
// and closed by command 2062, one floating window shown at a time, command 3030 ending the active
// pane's in-place editing, and recording a sound onto the clipboard for a tool. The class keeps the
// tools window every authoring class reaches; the application keeps the overview window and the
// current floater. The tools window shows its option windows through it.
class CTumblerApp : public CHAApp, public pw::authoring::OptionViewHost {
    PW_CLASS_INFO(CTumblerApp)

public:
    static constexpr int32_t kOverviewCommand = 2062;
    static constexpr int32_t kEndEditCommand = 3030;
    // Kid sounds played when the application is made and when it quits.
    static constexpr int16_t kStartSound = 60;
    static constexpr int16_t kGoodbyeSound = 61;

    // Makes the frame overview's floating window for the pane at the rectangle (installed by the
    // overview's side); without one, 2062 opens nothing.
    using OverviewMaker = std::function<SmartPtr<Window>(CHAPane& pane, const Rect& frame)>;
    static void SetOverviewMaker(OverviewMaker maker);

    // `tools` (may be empty) becomes the class-wide tools window. Sets the starting paint colours.
    CTumblerApp(const SmartPtr<MenuBar>& menus, const FileCreatorType& creator, const SmartPtr<CToolsDir>& tools);
    ~CTumblerApp() override;

    static SmartPtr<CToolsDir> GetTools();
    // The earlier animation product's documents: "Zoetrail", 'TOON'.
    static const FileCreatorType& EarlierCreator();

    // The goodbye sound plays while the windows are asked whether they may close.
    void Quit(int32_t mode) override;
    void ShowFloater(const SmartPtr<Window>& window) override;
    bool ApplicationQuery() override { return true; }
    // The tools window's option window is one more floater.
    void ShowOptionView(const SmartPtr<Window>& view) override { ShowFloater(view); }

    void DoCommand(int32_t number, int32_t argument) override;
    int32_t GetCommandStatus(int32_t number) override;

    // Records a sound; unless cancelled it goes onto the clipboard and the tool becomes current
    // with its sound pending.
    void RecordSoundToClipboard(const SmartPtr<CTool>& tool);

    SmartPtr<Window> GetCurrentFloater() const { return currentFloater; }
    SmartPtr<Window> GetOverview() const { return overview; }

private:
    void ToggleOverview();

    SmartPtr<Window> currentFloater;
    SmartPtr<Window> overview;
};

// The command that records a sound for a tool: the application records it, puts it on the
// clipboard and makes the tool current with the sound pending.
class RecordSoundSignal : public Signal<CTumblerApp> {
public:
    explicit RecordSoundSignal(const SmartPtr<CTool>& tool);
    ~RecordSoundSignal() override;

    SmartPtr<CTool> GetTool() const;

protected:
    void Act(CTumblerApp& app) override;

private:
    SmartPtr<CTool> tool;
};
