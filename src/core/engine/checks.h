#pragma once

#include "engine/engine.h"
#include "engine/interpreter.h"
#include "script/instruction.h"

namespace qm {

// Executes one of the eight check instructions at algpc: progress text, address step, compare
// tempword, report a difference. Sends nothing to the chip.
StepResult runcheck(Engine& engine, Opcode op);

}  // namespace qm
