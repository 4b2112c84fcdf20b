// designs.hpp: the designs of Numerak's two windows.
#pragma once

#include "runtime/design.hpp"

namespace numerak::ui {

const WindowDesign& frmCodeDesign();
const WindowDesign& frmAboutDesign();

}  // namespace numerak::ui
