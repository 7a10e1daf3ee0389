#pragma once

class App;

namespace pw::app {

// The stored page the program opens and plays at start-up, in the start-up folder.
inline constexpr const char* kSamplePage = "Projects\\Sample.mvi";

// The application factory handed to the framework main: an animation application whose page
// windows play their pages; its first document is the sample page, playing.
App* MakeAnimationApp();

} // namespace pw::app
