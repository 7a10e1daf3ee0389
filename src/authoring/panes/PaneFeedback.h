#pragma once

class DisplayPort;

namespace pw::authoring {

// What a mouse task draws over the page in the animation pane while its drag goes on: the pane
// draws the page as it is, then the feedback, until the task takes it away.
class PaneFeedback {
public:
    virtual void DrawFeedback(DisplayPort& port) = 0;

protected:
    ~PaneFeedback() = default;
};

} // namespace pw::authoring
