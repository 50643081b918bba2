#pragma once

#include "devices/activemodel.h"
#include "devices/devicemodel.h"
#include "devices/selectmodel.h"
#include "settings/settingsstore.h"

namespace qm {

// Activates the model saved under "Microcontroller Model", as both programs do at start: its
// number, or its name as --model takes it; a number outside the device file's models (or no
// number and no name) activates model 1 and saves "1" back.
// The result of the activation, whose message says why a model was refused.
SelectModelResult activatesavedmodel(const DeviceTable& table, SettingsStore& settings,
                                     ActiveModel& activemodel);

}  // namespace qm
