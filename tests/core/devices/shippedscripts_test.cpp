// The scripts of the shipped device database, run on the simulated chip of each model's family
// (virtual time): they must decode completely, program what verify and read then find, erase to
// blank, and let verify see a single changed word.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <random>
#include <string>

#include "core/engine/simenginerig.h"
#include "core/testhost.h"
#include "devices/loaddevices.h"
#include "devices/selectmodel.h"
#include "engine/chipoperations.h"
#include "engine/engine.h"
#include "link/linedriver.h"
#include "link/portselect.h"
#include "script/instruction.h"
#include "sim/picchip.h"
#include "sim/simadapter.h"
#include "text/hextext.h"

namespace qm {
namespace {

const std::string kShippedFile = std::string(QUELLMARK_SOURCE_DIR) + "/data/quellmarkdevices.txt";

const DeviceTable& shippedtable() {
    static const DeviceTable table = [] {
        LoadDevicesResult loaded = loaddevices(kShippedFile);
        EXPECT_EQ(loaded.status, LoadDevicesStatus::Ok) << loaded.error;
        return loaded.table;
    }();
    return table;
}

TEST(ShippedScriptDecoding, EveryInstructionIsRecognisedAndEveryBlockIsClosed) {
    const DeviceTable& table = shippedtable();
    ASSERT_GT(table.modelcount(), 0);
    for (int n = 1; n <= table.modelcount(); ++n) {
        ActiveModel model;
        ASSERT_TRUE(selectmodel(table, n, model).ok);
        for (int op = 0; op < kOperationCount; ++op) {
            const auto& steps = model.steps[static_cast<size_t>(op)];
            const std::vector<Instruction> decoded = decodeprogram(steps);
            ASSERT_EQ(decoded.size(), steps.size());
            for (size_t i = 0; i < decoded.size(); ++i) {
                SCOPED_TRACE(model.modelname + " operation " + std::to_string(op) +
                             " instruction " + std::to_string(i + 1) + " '" + steps[i] + "'");
                const Instruction& in = decoded[i];
                EXPECT_NE(in.op, Opcode::Unrecognized);
                switch (in.op) {
                    case Opcode::SetFlashLoop:
                    case Opcode::SetEepromLoop:
                    case Opcode::IfPage:
                        EXPECT_GE(in.target, 0) << "block is never closed";
                        break;
                    case Opcode::SendFlash:
                    case Opcode::SendEeprom:
                    case Opcode::SendConfig1:
                    case Opcode::SendConfig2:
                    case Opcode::ReadFlash:
                    case Opcode::ReadEeprom:
                    case Opcode::ReadConfig1:
                    case Opcode::ReadConfig2:
                    case Opcode::ReadTemp:
                    case Opcode::SendCmd:
                        // A bad hex argument would silently send nothing.
                        EXPECT_GE(in.command, 0);
                        EXPECT_LE(in.command, 63);
                        break;
                    case Opcode::SendCmdData:
                        EXPECT_GE(in.command, 0);
                        EXPECT_LE(in.command, 63);
                        EXPECT_GE(in.data, 0);
                        EXPECT_LE(in.data, 0x3FFF);
                        break;
                    default:
                        break;
                }
            }
        }
    }
}

// One model on its simulated chip: the front ends' wiring, on virtual time.
class ModelRig {
  public:
    explicit ModelRig(int modelnumber) {
        model.modelnumber = modelnumber;
        const SelectModelResult selected = selectmodel(shippedtable(), modelnumber, model);
        EXPECT_TRUE(selected.ok) << selected.message;
        clearbuffer(buffer, model);
        // Long runs: only faults are of interest.
        host.countingclock().recordsleeps = false;
        chip = std::make_unique<PicChip>(
            chipfamilyformodel(model.modelname, model.flashsize, model.eepromsize), host.clock());
        chip->setcommandlogging(false);
        adapter = std::make_unique<SimAdapter>(chip.get());
        EXPECT_TRUE(adapter->open("sim", 9600));
        driver = std::make_unique<LineDriver>(*adapter, host, model);
        engine = std::make_unique<Engine>(host, *adapter, *driver, model, buffer);
        engine->devices = &shippedtable();
        port.portready = true;
        port.portnumber = 1;
    }

    // What the simulated chip found wrong (cut-short cycles, ignored or unknown commands, a
    // power-on with CLOCK or DATA high): the number of faults and the first few; empty when
    // there were none.
    std::string chipfaults() const {
        int count = 0;
        std::string first;
        for (const ChipEvent& event : chip->log()) {
            if (isfault(event.kind) && ++count <= 3) first += "\n" + describe(event);
        }
        return count == 0 ? std::string() : std::to_string(count) + " faults:" + first;
    }

    // A buffer full of data: every FLASH word and EEPROM byte (so the loops reach the ends of
    // the memories) and configuration words that keep the chip unprotected and that the chip
    // stores as they are (only the oscillator bits cleared).
    void fillrandom(uint32_t seed) {
        std::mt19937 random(seed);
        for (auto& word : buffer.flash) word = static_cast<int32_t>(random() % 0x4000);
        for (auto& byte : buffer.eeprom) byte = static_cast<int32_t>(random() % 0x100);
        buffer.conf[0] = model.erasedconfig[0] & ~0x0007;
        buffer.conf[1] = model.erasedconfig[1] & ~0x0001;
    }

    test::TestHost host;
    ActiveModel model;
    ProgBuffer buffer;
    std::unique_ptr<PicChip> chip;
    std::unique_ptr<SimAdapter> adapter;
    std::unique_ptr<LineDriver> driver;
    std::unique_ptr<Engine> engine;
    PortState port;
};

class ShippedModel : public ::testing::TestWithParam<int> {};

TEST_P(ShippedModel, ProgramVerifyReadEraseAndBlankCheckOnTheSimulatedChip) {
    ModelRig rig(GetParam());
    SCOPED_TRACE(rig.model.modelname);
    ASSERT_NE(rig.chip->family().name, "generic") << "no simulated chip for this model";
    // The database must describe the chip it drives.
    EXPECT_EQ(rig.model.flashsize, rig.chip->family().flashsize);
    EXPECT_EQ(rig.model.eepromsize, rig.chip->family().eepromsize);
    EXPECT_EQ(rig.model.pagesize, rig.chip->family().latchwords);
    EXPECT_EQ(rig.model.config2used, rig.chip->family().configmask[1] != 0);
    // Its configuration masks are the chip's implemented bits, and its erased values what a blank
    // chip reads (apart from factory band-gap bits).
    const ChipFamily& family = rig.chip->family();
    EXPECT_EQ(rig.model.configmask[0], family.configmask[0]);
    EXPECT_EQ(rig.chip->configword(0x2007) & ~family.bgmask,
              rig.model.erasedconfig[0] & ~family.bgmask);
    if (rig.model.config2used) {
        EXPECT_EQ(rig.model.configmask[1], family.configmask[1]);
        EXPECT_EQ(rig.chip->configword(0x2008), rig.model.erasedconfig[1]);
    }

    rig.fillrandom(static_cast<uint32_t>(GetParam()));
    const std::vector<int32_t> factory = test::chipcalibration(*rig.chip, rig.model);
    // What the chip must hold: the image, with its own calibration where it keeps one.
    const ProgBuffer written = test::withcalibration(rig.buffer, *rig.chip, rig.model);

    OperationResult result = programall(*rig.engine, rig.port);
    ASSERT_EQ(result.status, OperationStatus::Done) << result.statustext;
    // The model's ID, mask and identify script know the chip.
    EXPECT_EQ(result.idcheck.identity, ChipIdentity::Match);
    EXPECT_NE(
        std::find(result.idcheck.models.begin(), result.idcheck.models.end(), rig.model.modelname),
        result.idcheck.models.end());
    EXPECT_EQ(result.calibration, factory);
    EXPECT_EQ(rig.chipfaults(), "");
    EXPECT_EQ(rig.chip->flash(), written.flash);
    EXPECT_EQ(rig.chip->eeprom(), written.eeprom);

    result = verifyall(*rig.engine, rig.port);
    EXPECT_EQ(result.status, OperationStatus::Done) << rig.engine->report.mismatchreport;
    EXPECT_EQ(result.mismatchcount, 0);

    // Read All replaces the buffer with what the chip holds.
    rig.buffer.flash.assign(rig.buffer.flash.size(), 0);
    result = readall(*rig.engine, rig.port);
    ASSERT_EQ(result.status, OperationStatus::Done) << result.statustext;
    EXPECT_EQ(rig.buffer.flash, written.flash);
    EXPECT_EQ(rig.buffer.eeprom, written.eeprom);
    // The configuration words as far as they are implemented: the rest reads as the chip has it.
    const auto& mask = rig.model.configmask;
    EXPECT_EQ(rig.buffer.conf[0] & mask[0], written.conf[0] & mask[0]);
    if (rig.model.config2used) {
        EXPECT_EQ(rig.buffer.conf[1] & mask[1], written.conf[1] & mask[1]);
    }

    // A programmed chip is not blank; the report stops at its limit.
    result = blankcheck(*rig.engine, rig.port);
    EXPECT_EQ(result.status, OperationStatus::Mismatches);
    EXPECT_GE(result.mismatchcount, 25);

    result = eraseall(*rig.engine, rig.port);
    ASSERT_EQ(result.status, OperationStatus::Done) << result.statustext;
    result = blankcheck(*rig.engine, rig.port);
    EXPECT_EQ(result.status, OperationStatus::Done) << rig.engine->report.mismatchreport;
    EXPECT_EQ(result.mismatchcount, 0);
    ProgBuffer blank;
    clearbuffer(blank, rig.model);
    EXPECT_EQ(rig.chip->flash(), test::withcalibration(blank, *rig.chip, rig.model).flash);
    EXPECT_EQ(rig.chip->configword(0x2007) & mask[0],
              test::withcalibration(blank, *rig.chip, rig.model).conf[0] & mask[0]);
    // The factory calibration went through both operations unchanged.
    EXPECT_EQ(test::chipcalibration(*rig.chip, rig.model), factory);
    EXPECT_EQ(rig.chipfaults(), "");
    EXPECT_EQ(rig.chip->count(ChipEventKind::kProtocolFault), 0);
}

// The last FLASH word that is not a calibration word: Verify expects the chip's own value there.
int32_t lastplainword(const ActiveModel& model) {
    int32_t last = model.flashsize - 1;
    for (const CalibrationWord& word : model.calibration)
        if (word.address == last) --last;
    return last;
}

TEST_P(ShippedModel, VerifyReportsTheOneChangedWord) {
    ModelRig rig(GetParam());
    SCOPED_TRACE(rig.model.modelname);
    rig.fillrandom(1000u + static_cast<uint32_t>(GetParam()));
    ASSERT_EQ(programall(*rig.engine, rig.port).status, OperationStatus::Done);

    const int32_t last = lastplainword(rig.model);
    rig.buffer.flash[static_cast<size_t>(last)] ^= 0x0001;
    OperationResult result = verifyall(*rig.engine, rig.port);
    EXPECT_EQ(result.status, OperationStatus::Mismatches);
    EXPECT_EQ(result.mismatchcount, 1);
    EXPECT_NE(rig.engine->report.mismatchreport.find("FLASH Word " + hexwordh(last) + ",   "),
              std::string::npos)
        << rig.engine->report.mismatchreport;
    rig.buffer.flash[static_cast<size_t>(last)] ^= 0x0001;

    if (rig.model.eepromsize > 3) {
        rig.buffer.eeprom[3] ^= 0x80;
        result = verifyall(*rig.engine, rig.port);
        EXPECT_EQ(result.mismatchcount, 1);
        EXPECT_NE(rig.engine->report.mismatchreport.find("EEPROM Byte 0003h,   "),
                  std::string::npos)
            << rig.engine->report.mismatchreport;
        rig.buffer.eeprom[3] ^= 0x80;
    }

    // Bit 2 is implemented in the configuration word of every family.
    rig.buffer.conf[0] ^= 0x0004;
    result = verifyall(*rig.engine, rig.port);
    EXPECT_EQ(result.mismatchcount, 1);
    EXPECT_NE(rig.engine->report.mismatchreport.find("CONF Word 2007h,   "), std::string::npos)
        << rig.engine->report.mismatchreport;
    EXPECT_EQ(rig.chipfaults(), "");
}

TEST_P(ShippedModel, ProgrammingAShortProgramLeavesNoOldCodeBehind) {
    ModelRig rig(GetParam());
    SCOPED_TRACE(rig.model.modelname);
    rig.fillrandom(2000u + static_cast<uint32_t>(GetParam()));
    ASSERT_EQ(programall(*rig.engine, rig.port).status, OperationStatus::Done);

    // A short program: five words (not a whole write block) and two EEPROM bytes.
    clearbuffer(rig.buffer, rig.model);
    for (int32_t i = 0; i < 5; ++i) rig.buffer.flash[static_cast<size_t>(i)] = 0x2800 + i;
    if (rig.model.eepromsize >= 2) {
        rig.buffer.eeprom[0] = 0x12;
        rig.buffer.eeprom[1] = 0x34;
    }
    const ProgBuffer expected = test::withcalibration(rig.buffer, *rig.chip, rig.model);
    ASSERT_EQ(programall(*rig.engine, rig.port).status, OperationStatus::Done);
    EXPECT_EQ(rig.chip->flash(), expected.flash);
    EXPECT_EQ(rig.chip->eeprom(), expected.eeprom);
    const OperationResult result = verifyall(*rig.engine, rig.port);
    EXPECT_EQ(result.status, OperationStatus::Done) << rig.engine->report.mismatchreport;
    EXPECT_EQ(rig.chipfaults(), "");
}

std::vector<int> shippedmodelnumbers() {
    std::vector<int> numbers;
    for (int n = 1; n <= shippedtable().modelcount(); ++n) numbers.push_back(n);
    return numbers;
}

INSTANTIATE_TEST_SUITE_P(AllModels, ShippedModel, ::testing::ValuesIn(shippedmodelnumbers()),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return "Pic" + shippedtable().models[info.param].name;
                         });

}  // namespace
}  // namespace qm
