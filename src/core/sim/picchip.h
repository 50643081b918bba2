#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <vector>

#include "host/clock.h"
#include "sim/chipevent.h"
#include "sim/chipfamily.h"

namespace qm {

// A simulated PIC in high-voltage programming mode, driven pin by pin: supply (VDD and VPP
// together, as the adapter switches them), CLOCK and DATA. It decodes commands on falling CLOCK
// edges, takes and returns framed data words, and checks every erase/programming cycle against
// the clock it is given: a command started before the cycle's time has passed cuts the cycle
// short, the cycle's writes are undone and the log says why. A power-on with CLOCK or DATA high
// is logged as a protocol fault.
//
// Memory can be read and set directly (no timing, no protection), so tests can prepare a chip
// and inspect the result of a script.
class PicChip {
  public:
    PicChip(ChipFamily family, Clock& clock);

    const ChipFamily& family() const { return family_; }

    // Pins.
    void setsupply(bool on);
    void togglesupply() { setsupply(!supply_); }
    void setclock(bool high);
    void setdata(bool high);
    bool supplied() const { return supply_; }
    bool drivesdata() const { return driving_; }
    bool dataout() const { return driving_ && out_; }

    // State.
    int32_t pc() const { return pc_; }
    bool cyclerunning() const { return cycle_.running; }
    bool codeprotected() const;
    bool dataprotected() const;

    // Direct memory access. Reads outside the chip's memory return -1; writes there do nothing.
    int32_t flashword(int32_t index) const;
    void setflashword(int32_t index, int32_t value);
    int32_t eeprombyte(int32_t index) const;
    void seteeprombyte(int32_t index, int32_t value);
    // Configuration space 2000h-3FFFh as the chip reads it (IDs, reserved words, device ID,
    // configuration and calibration words), ignoring protection; -1 below 2000h or above 3FFFh.
    int32_t configword(int32_t address) const;
    // IDs (2000h-2003h), CONFIG1 (2007h), CONFIG2 (2008h, when the chip has it) and calibration
    // words only; the configuration words keep only their implemented bits.
    void setconfigword(int32_t address, int32_t value);
    const std::vector<int32_t>& flash() const { return flash_; }
    const std::vector<int32_t>& eeprom() const { return eeprom_; }
    // Everything erased, as a chip erase leaves it (IDs included): with them a factory OSCCAL
    // word and band-gap bits; calibration words in configuration space stay.
    void eraseall();
    // The factory calibration as a new chip has it: OSCCAL, band-gap bits, calibration words.
    void setfactorycalibration();

    // Log.
    const std::vector<ChipEvent>& log() const { return log_; }
    void clearlog() { log_.clear(); }
    int32_t count(ChipEventKind kind) const;
    // The last event of a kind, or nullptr.
    const ChipEvent* last(ChipEventKind kind) const;
    // Decoded commands are logged unless switched off (power changes, violations and ignored or
    // unknown commands are always logged). Long runs that only care about faults switch it off.
    void setcommandlogging(bool on) { logcommands_ = on; }

  private:
    enum class Phase : uint8_t { kCommand, kLoad, kRead };
    enum class LoadKind : uint8_t { kNone, kProgram, kData };
    enum class Armed : uint8_t { kNone, kProgramErase, kDataErase, kSetup1, kSetup2 };
    enum class Space : uint8_t { kFlash, kEeprom, kIds, kConfig, kCalibration };

    struct Undo {
        Space space;
        int32_t index;
        int32_t old;
    };

    struct Cycle {
        bool running = false;
        bool external = false;
        std::chrono::microseconds start{0};
        int32_t requiredus = 0;
        int32_t pc = 0;
        const char* kind = "";
        // The pause after End Programming: only a command cuts it, and it writes nothing.
        bool discharge = false;
    };

    // Decoder (picchip.cpp).
    void onfalling();
    void onrising();
    void decode(int32_t code);
    void finishload();
    void resetdecoder();
    void enterprogramming();
    void leaveprogramming();
    void logevent(ChipEventKind kind, int32_t command, int32_t data, int32_t pc,
                  std::string text = {});

    // Commands and cycles (picchipcycle.cpp).
    void resolvecycle(int32_t code, std::chrono::microseconds at);
    void startcycle(const char* kind, int32_t requiredus, bool external);
    void begin(int32_t code, const CommandSpec& spec, Armed armed);
    void armederase(int32_t code, const CommandSpec& spec, Armed armed);
    void setuperase(int32_t code);
    void bulkerase(int32_t code, const CommandSpec& spec);
    void writelatch(int32_t code, bool programonly);
    void write(Space space, int32_t index, int32_t value);
    int32_t readprogram() const;
    int32_t readdata() const;
    int32_t storedconfig(int32_t index, int32_t value) const;
    void eraseprogram();
    void erasedata();
    void eraseconfig();
    void eraseids();
    void erasecalibration();
    int32_t calibrationindex(int32_t address) const;  // -1 when no calibration word is there
    void ignore(int32_t code, const char* why);

    ChipFamily family_;
    Clock& clock_;

    std::vector<int32_t> flash_;
    std::vector<int32_t> eeprom_;
    std::array<int32_t, 4> ids_{};
    std::array<int32_t, 2> config_{};
    std::array<int32_t, 2> calibration_{};

    // Pins.
    bool supply_ = false;
    bool clk_ = false;
    bool dat_ = false;
    bool driving_ = false;
    bool out_ = false;

    // Decoder.
    Phase phase_ = Phase::kCommand;
    int32_t bits_ = 0;   // falling edges seen in the current phase
    int32_t rises_ = 0;  // rising edges seen in a read
    int32_t shift_ = 0;
    int32_t loadcode_ = 0;
    int32_t loadpc_ = 0;
    int32_t readvalue_ = 0;
    std::chrono::microseconds cmdstart_{0};

    // Programming state.
    int32_t pc_ = 0;
    std::array<int32_t, 8> latch_{};
    int32_t datalatch_ = 0xFF;
    LoadKind lastload_ = LoadKind::kNone;
    bool configlatch_ = false;  // the program latch holds the word of a Load Configuration
    Armed armed_ = Armed::kNone;
    Cycle cycle_;
    std::vector<Undo> undo_;

    std::vector<ChipEvent> log_;
    bool logcommands_ = true;
};

}  // namespace qm
