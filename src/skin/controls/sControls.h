// The skin library's control classes as window descriptions name them (TsPanel, TsLabel, ...),
// each a framework control that paints itself from its section of the skin in force.
#pragma once

#include "skin/controls/acDBGrid.h"
#include "skin/controls/acImage.h"
#include "skin/controls/sButton.h"
#include "skin/controls/sComboBox.h"
#include "skin/controls/sEdit.h"
#include "skin/controls/sGroupBox.h"
#include "skin/controls/sLabel.h"
#include "skin/controls/sMemo.h"
#include "skin/controls/sPanel.h"
#include "skin/controls/sSkinnedControl.h"
#include "skin/controls/sStatusBar.h"
#include "skin/controls/sTreeView.h"
#include "skin/frame/sSkinProvider.h"

namespace skin::controls {

using TsSkinProvider = skin::frame::TsSkinProvider;

// Registers the classes above for window descriptions (once; later calls do nothing).
void RegisterSkinClasses();

}  // namespace skin::controls
