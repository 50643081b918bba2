#include "engine/interpreter.h"

#include <algorithm>
#include <utility>

#include "buffer/progbuffer.h"
#include "engine/checks.h"
#include "engine/memoryaccess.h"
#include "text/hextext.h"

namespace qm {

namespace {

StepResult fail(AlgState& state, std::string reason) {
    state.error.reason = std::move(reason);
    return StepResult::ScriptError;
}

// Highest index below count whose value differs from erased, or -1.
int32_t lastnonerased(const std::vector<int32_t>& cells, int32_t count, int32_t erased) {
    for (int32_t i = std::min<int32_t>(count, int32_t(cells.size())) - 1; i >= 0; --i)
        if (cells[size_t(i)] != erased) return i;
    return -1;
}

StepResult pagesizecheck(Engine& engine) {
    const int32_t pagesize = engine.activemodel.pagesize;
    if (pagesize >= 1) return StepResult::Next;
    return fail(engine.algstate, "the model's page size is " + std::to_string(pagesize) +
                                     ", and page instructions need 1 or more");
}

StepResult calcflashpage(Engine& engine) {
    if (pagesizecheck(engine) != StepResult::Next) return StepResult::ScriptError;
    AlgState& state = engine.algstate;
    const int64_t pagesize = engine.activemodel.pagesize;
    const int64_t a = lastnonerased(state.buffer->flash, engine.activemodel.flashsize, kErasedWord);
    // % truncates toward zero, as the page rule is defined (a = -1 keeps its remainder -1).
    const int64_t last = a - (a % pagesize) + pagesize - 1;
    state.flashlast = int32_t(std::min<int64_t>(last, INT32_MAX));
    ++state.algpc;
    return StepResult::Next;
}

StepResult loophead(Engine& engine, const Instruction& in, int32_t last, size_t size,
                    const char* memory, const char* unit) {
    AlgState& state = engine.algstate;
    state.loopstart = state.algpc;
    state.loopend = last;
    if (in.target < 0) return fail(state, "the loop head has no \"loop\" after it");
    state.loopheadrun = true;
    if (state.addrcount > last) {
        state.addrcount = 0;
        state.loopheadaddr = 0;
        state.loopended = true;
        state.algpc = in.target + 2;  // the instruction after that "loop"
        return StepResult::Next;
    }
    if (last >= 0 && size_t(last) >= size)
        return fail(state, "the loop would run past the end of " + std::string(memory) +
                               ": its last address is " + hexwordh(last) + ", and " + memory +
                               " has " + std::to_string(size) + " " + unit);
    state.loopended = false;
    state.loopheadaddr = state.addrcount;
    ++state.algpc;
    return StepResult::Next;
}

StepResult loop(AlgState& state) {
    if (!state.loopheadrun) return fail(state, "\"loop\" has no loop head before it");
    // Sent here by the mismatch limit, the pass may have skipped its memory instruction, and the
    // loop of the last head may already have ended; "loop" goes back to that head all the same,
    // whose test ends the loop in time. Only this one jump is let through: a limit is reached
    // once per run, and the passes after it are checked again.
    if (std::exchange(state.mismatchjump, false) && state.algpc == state.algcount) {
        state.algpc = state.loopstart;
        return StepResult::Next;
    }
    if (state.loopended)
        return fail(state, "\"loop\" would restart the loop of instruction " +
                               std::to_string(state.loopstart) + ", which has already ended");
    // Only memory instructions move addrcount, and only forward; a pass that did not move it
    // would repeat forever.
    if (state.addrcount <= state.loopheadaddr)
        return fail(state, "the loop body after instruction " + std::to_string(state.loopstart) +
                               " does not advance the memory address, so the loop would never "
                               "end");
    state.algpc = state.loopstart;
    return StepResult::Next;
}

StepResult ifpage(Engine& engine, const Instruction& in) {
    AlgState& state = engine.algstate;
    if (pagesizecheck(engine) != StepResult::Next) return StepResult::ScriptError;
    if (in.target < 0) return fail(state, "\"ifpage\" has no \"endifpage\" after it");
    const int32_t pagesize = engine.activemodel.pagesize;
    if (state.addrcount >= 1 && state.addrcount % pagesize == 0)
        ++state.algpc;
    else
        state.algpc = in.target + 2;
    return StepResult::Next;
}

StepResult wait(Engine& engine, int32_t milliseconds) {
    if (milliseconds < 0)
        return fail(engine.algstate,
                    "the wait of " + std::to_string(milliseconds) + " ms is negative");
    // On a batching port the wait follows the command it is for in the same transfer.
    engine.linedriver.wait(milliseconds);
    ++engine.algstate.algpc;
    return StepResult::Next;
}

// Rules that shift a word between the chip and the buffer, or send a command.
StepResult transfer(Engine& engine, const Instruction& in) {
    AlgState& state = engine.algstate;
    LineDriver& line = engine.linedriver;
    ProgBuffer& buffer = *state.buffer;
    const int32_t address = state.addrcount;
    switch (in.op) {
        case Opcode::SendFlash:
            if (!flashaddressok(engine, address)) return StepResult::ScriptError;
            progressflash(engine);
            line.sendcmddata(in.command, buffer.flash[size_t(address)]);
            ++state.addrcount;
            break;
        case Opcode::SendEeprom:
            if (!eepromaddressok(engine, address)) return StepResult::ScriptError;
            progresseeprom(engine);
            line.sendcmddata(in.command, buffer.eeprom[size_t(address)]);
            ++state.addrcount;
            break;
        case Opcode::SendConfig1:
        case Opcode::SendConfig2: {
            const int which = in.op == Opcode::SendConfig1 ? 1 : 2;
            progressconfig(engine, which);
            line.sendcmddata(in.command, buffer.conf[size_t(which - 1)]);
            break;
        }
        case Opcode::ReadFlash:
            if (!flashaddressok(engine, address)) return StepResult::ScriptError;
            progressflash(engine);
            buffer.flash[size_t(address)] = line.readcmddata(in.command);
            ++state.addrcount;
            break;
        case Opcode::ReadEeprom:
            if (!eepromaddressok(engine, address)) return StepResult::ScriptError;
            progresseeprom(engine);
            buffer.eeprom[size_t(address)] = line.readcmddata(in.command) & 0xFF;
            ++state.addrcount;
            break;
        case Opcode::ReadConfig1:
        case Opcode::ReadConfig2: {
            const int which = in.op == Opcode::ReadConfig1 ? 1 : 2;
            progressconfig(engine, which);
            buffer.conf[size_t(which - 1)] = line.readcmddata(in.command);
            break;
        }
        case Opcode::ReadTemp:
            state.tempword = line.readcmddata(in.command);
            break;
        case Opcode::ReadCal:
            state.cal[size_t(in.data - 1)] = line.readcmddata(in.command);
            break;
        case Opcode::SendCal:
            line.sendcmddata(in.command, state.cal[size_t(in.data - 1)]);
            break;
        case Opcode::SendRepeat:
            // Each command as if written out, settle included; a lost port ends the walk.
            for (int32_t i = 1; i < in.data && !engine.port.failed(); ++i) {
                line.sendcmd(in.command);
                line.settle();
            }
            line.sendcmd(in.command);
            break;
        case Opcode::SendCmdData:
            line.sendcmddata(in.command, in.data);
            break;
        case Opcode::SendCmd:
            line.sendcmd(in.command);
            break;
        default:
            return fail(state, "not a transfer instruction");
    }
    line.settle();
    ++state.algpc;
    return StepResult::Next;
}

// Switches the supply off when the run so far has left it switched; the next "begin" of any run
// would otherwise turn it off instead of on.
void restoresupply(Engine& engine) {
    if (!engine.algstate.supplyflipped) return;
    engine.linedriver.poweroff();
    engine.algstate.supplyflipped = false;
}

StepResult execute(Engine& engine, const Instruction& in) {
    AlgState& state = engine.algstate;
    const ActiveModel& model = engine.activemodel;
    switch (in.op) {
        case Opcode::Begin:
            engine.linedriver.poweron();
            // poweron toggles the supply only for a known voltage order.
            if (model.voltageorder == 1 || model.voltageorder == 2)
                state.supplyflipped = !state.supplyflipped;
            ++state.algpc;
            return StepResult::Next;
        case Opcode::End:
            engine.linedriver.poweroff();
            state.supplyflipped = !state.supplyflipped;
            ++state.algpc;
            return StepResult::Next;
        case Opcode::CalcFlash:
            state.flashlast = lastnonerased(state.buffer->flash, model.flashsize, kErasedWord);
            ++state.algpc;
            return StepResult::Next;
        case Opcode::CalcFlashPage:
            return calcflashpage(engine);
        case Opcode::CalcEeprom:
            state.eepromlast = lastnonerased(state.buffer->eeprom, model.eepromsize, kErasedByte);
            ++state.algpc;
            return StepResult::Next;
        case Opcode::SetFlashLoop:
            return loophead(engine, in, state.flashlast, state.buffer->flash.size(), "FLASH",
                            "words");
        case Opcode::SetEepromLoop:
            return loophead(engine, in, state.eepromlast, state.buffer->eeprom.size(), "EEPROM",
                            "bytes");
        case Opcode::Loop:
            return loop(state);
        case Opcode::IfPage:
            return ifpage(engine, in);
        case Opcode::EndIfPage:
            ++state.algpc;
            return StepResult::Next;
        case Opcode::CheckBlankFlash:
        case Opcode::CheckBlankEeprom:
        case Opcode::CheckBlankConfig1:
        case Opcode::CheckBlankConfig2:
        case Opcode::CheckFlash:
        case Opcode::CheckEeprom:
        case Opcode::CheckConfig1:
        case Opcode::CheckConfig2:
            return runcheck(engine, in.op);
        case Opcode::WaitProg:
            if (model.progtime < 0)
                return fail(state, "the model's programming time of " +
                                       std::to_string(model.progtime) + " ms is negative");
            return wait(engine, model.progtime);
        case Opcode::Wait:
            return wait(engine, in.data);
        case Opcode::Unrecognized: {
            const std::string& text = state.algprog[size_t(state.algpc - 1)];
            // The program ends with this box: the chip must not stay powered, nor wait powered
            // while the box is open.
            engine.linedriver.flush();
            restoresupply(engine);
            // An empty caption is the program's dialog caption.
            engine.host.mymsgbox(unrecognizedtext(text), kMsgError, "");
            engine.host.endprogram();
            return StepResult::ProgramEnded;
        }
        default:
            return transfer(engine, in);
    }
}

}  // namespace

std::string unrecognizedtext(std::string_view instruction) {
    return "Unrecognized symbolic instruction '" + std::string(instruction) +
           "'.\r\nThe program must end.";
}

StepResult stepalg(Engine& engine) {
    AlgState& state = engine.algstate;
    // Someone filled algprog without loadalg: decode now rather than run stale opcodes.
    if (state.decoded.size() != state.algprog.size())
        state.decoded = decodeprogram(state.algprog, state.language);
    const int32_t pc = state.algpc;
    if (pc < 1 || pc > state.algcount || size_t(pc) > state.decoded.size()) {
        state.error = {pc, "", "there is no instruction " + std::to_string(pc)};
        return StepResult::ScriptError;
    }
    const StepResult result = execute(engine, state.decoded[size_t(pc - 1)]);
    if (result == StepResult::ScriptError) {
        state.error.instruction = pc;
        state.error.text = state.algprog[size_t(pc - 1)];
    }
    return result;
}

void startalg(Engine& engine, const std::vector<std::string>& steps, const RunInputs& inputs) {
    AlgState& state = engine.algstate;
    loadalg(state, steps, inputs.language);
    state.buffer = inputs.buffer != nullptr ? inputs.buffer : &engine.progbuffer;
    state.kept = inputs.kept;
    state.addrcount = 0;
    state.flashlast = engine.activemodel.flashsize - 1;
    state.eepromlast = engine.activemodel.eepromsize - 1;
    state.algpc = 1;
    state.loopheadrun = false;
    state.loopended = false;
    state.loopheadaddr = 0;
    state.supplyflipped = false;
    state.mismatchjump = false;
    state.error = {};
}

RunResult runalg(Engine& engine, const std::vector<std::string>& steps, const RunInputs& inputs) {
    AlgState& state = engine.algstate;
    startalg(engine, steps, inputs);
    // The inputs hold only for this run: afterwards the state speaks of the engine's own buffer.
    struct Restore {
        Engine& engine;
        ~Restore() {
            engine.algstate.buffer = &engine.progbuffer;
            engine.algstate.kept.clear();
        }
    } restore{engine};
    RunResult result;
    // Checked before every instruction and after the last, so a lost port stops the run
    // within one instruction.
    while (!engine.port.failed()) {
        if (state.algpc > state.algcount) {
            // What a batching port still holds belongs to this run: it has not ended before
            // that has reached the chip.
            engine.linedriver.flush();
            if (engine.port.failed()) break;
            // A script without its "end" would leave the chip powered until the next run's
            // "begin" turned the supply off instead of on.
            result.supplyleftswitched = state.supplyflipped;
            restoresupply(engine);
            if (engine.port.failed()) break;
            return result;
        }
        const StepResult step = stepalg(engine);
        if (step == StepResult::ProgramEnded) {
            engine.linedriver.flush();
            result.outcome = RunOutcome::ProgramEnded;
            return result;
        }
        if (step == StepResult::ScriptError) {
            engine.linedriver.flush();
            restoresupply(engine);
            result.outcome = RunOutcome::ScriptError;
            result.error = state.error;
            return result;
        }
    }
    restoresupply(engine);
    result.outcome = RunOutcome::PortFailed;
    result.porterror = engine.port.errortext();
    return result;
}

SideRun runbeside(Engine& engine, const std::vector<std::string>& steps,
                  const std::string& scriptname,
                  const std::array<int32_t, kCalRegisters>& registers) {
    ProgBuffer scratch = engine.progbuffer;
    Engine own(engine.host, engine.port, engine.linedriver, engine.activemodel, scratch);
    own.algstate.cal = registers;
    SideRun result;
    result.run = runalg(own, steps, {ScriptLanguage::Extended, nullptr, {}});
    if (result.run.outcome == RunOutcome::ScriptError) {
        result.run.error.reason += " (in the " + scriptname + " script)";
    } else if (result.run.outcome == RunOutcome::Completed && result.run.supplyleftswitched) {
        // Switched off already; a script kind that runs beside an operation must leave the
        // supply as it found it.
        const int32_t last = own.algstate.algcount;
        result.run.outcome = RunOutcome::ScriptError;
        result.run.error = {last, last > 0 ? own.algstate.algprog[size_t(last - 1)] : "",
                            "the " + scriptname + " script leaves the supply switched on"};
    }
    result.state = std::move(own.algstate);
    return result;
}

}  // namespace qm
