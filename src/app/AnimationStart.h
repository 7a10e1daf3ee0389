#pragma once

class App;

namespace pw::app {

// The stored page the program opens and plays at start-up, in the start-up folder.
inline constexpr const char* kSamplePage = "Projects\\Sample.mvi";

// The application factory handed to the framework main: an animation application whose page
// windows play their pages, which opens the sample page (an empty page when it is missing) and
// plays it once the framework runs.
App* MakeAnimationApp();

} // namespace pw::app
