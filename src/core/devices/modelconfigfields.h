#pragma once

#include <string>

#include "devices/activemodel.h"
#include "devices/devicemodel.h"

namespace qm {

// Puts on converted.configfields the field sets that the model's "configfields: N" (CONF1) and
// "config2fields: N" (CONF2) keys name, and checks them against the model. Returns why the model
// cannot be used, naming the key or the field: a key that is no set number, a set the device file
// does not define, config2fields on a model without a second configuration word, a field set
// with a fault (checkfieldset), a field with bits outside the model's configmask. Empty when the
// model can be used. Needs converted.config2used and converted.configmask already set.
std::string convertconfigfields(const DeviceTable& table, const devicemodel& model,
                                ActiveModel& converted);

}  // namespace qm
