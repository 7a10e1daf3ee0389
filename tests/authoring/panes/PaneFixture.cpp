#include "authoring/panes/PaneFixture.h"

namespace authoring {

PW_DEFINE_CLASS(CommandApp, nullptr, nullptr, App, NumberCommandHandler)

} // namespace authoring
