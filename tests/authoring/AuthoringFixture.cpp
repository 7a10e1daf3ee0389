#include "authoring/AuthoringFixture.h"

namespace authoring {

PW_DEFINE_CLASS(PagePane, nullptr, nullptr, View)

} // namespace authoring
