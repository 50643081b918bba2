#include "engine/memoryaccess.h"

#include <string>

#include "text/hextext.h"

namespace qm {

namespace {

std::string counter(const char* prefix, const AlgState& state) {
    std::string text(prefix);
    text += std::to_string(int64_t{state.addrcount} + 1);
    text += '/';
    text += std::to_string(int64_t{state.loopend} + 1);
    return text;
}

bool addressok(Engine& engine, int32_t address, size_t size, const char* memory, const char* unit) {
    if (address >= 0 && static_cast<size_t>(address) < size) return true;
    engine.algstate.error.reason = "address " + hexwordh(address) + " lies past the end of " +
                                   memory + " (" + std::to_string(size) + " " + unit + ")";
    return false;
}

}  // namespace

bool flashaddressok(Engine& engine, int32_t address) {
    return addressok(engine, address, engine.algstate.buffer->flash.size(), "FLASH", "words");
}

bool eepromaddressok(Engine& engine, int32_t address) {
    return addressok(engine, address, engine.algstate.buffer->eeprom.size(), "EEPROM", "bytes");
}

void progressflash(Engine& engine) {
    engine.host.setstatus(counter("F:", engine.algstate));
    engine.host.yield();
}

void progresseeprom(Engine& engine) {
    engine.host.setstatus(counter("E:", engine.algstate));
    engine.host.yield();
}

void progressconfig(Engine& engine, int which) {
    engine.host.setstatus(which == 1 ? "CONF1:" : "CONF2:");
    engine.host.yield();
}

}  // namespace qm
