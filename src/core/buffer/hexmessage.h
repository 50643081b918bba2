#pragma once

#include <string>

#include "host/host.h"

namespace qm {

// A message the HEX commands want shown with mymsgbox. The caption stays empty, which the
// message box turns into dialogcaption.
struct HexMessage {
    std::string text;
    int type = kMsgPlain;
    std::string caption;
};

}  // namespace qm
