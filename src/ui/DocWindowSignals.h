#pragma once

#include "foundation/Signal.h"
#include "ui/DocWindow.h"

#include <cstdint>

// The Save and Save As commands: saves the receiving document window in its mode (DocWindow's
// kSave, kSaveAs, kSaveCopy). Taken by any document window.
class SaveSignal : public Signal<DocWindow> {
public:
    explicit SaveSignal(int32_t mode);

protected:
    void Act(DocWindow& window) override;

private:
    int32_t mode;
};
