// The device ID check around the chip operations, and identify, on the simulated adapter with the
// shipped device file: what is in the socket decides whether an operation may touch the chip.
#include "engine/idcheck.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>

#include "core/engine/enginerig.h"
#include "core/engine/simenginerig.h"

namespace qm::test {
namespace {

int32_t shippednumber(const std::string& name) {
    const DeviceTable table = loaddevices(kShippedDevices).table;
    for (int n = 1; n <= table.modelcount(); ++n)
        if (table.models[size_t(n)].name == name) return n;
    ADD_FAILURE() << "no model " << name;
    return 1;
}

// Model 16F628A of the shipped file with something in the socket.
struct Socket {
    const char* what;
    const char* chip;           // nullptr: an empty socket
    std::optional<bool> stuck;  // DATA IN stuck at this level
    int32_t id;                 // a part ID of our own (revision 0); -1: the chip's own
    ChipIdentity identity;
    const char* status;   // of a stopped operation
    const char* message;  // how its box begins
};

const Socket kSockets[] = {
    {"another chip", "16F877A", std::nullopt, -1, ChipIdentity::WrongChip,
     "Operation failed: the chip in the socket is a 16F877A, not a 16F628A.",
     "Wrong chip: the device ID reads 0E27h, which is the 16F877A (revision 7), but the model "
     "chosen is the 16F628A (device ID 1060h).\r\n\r\nChoose the model of the chip in the "
     "socket, or put a 16F628A in."},
    {"a chip no model knows", "16F628A", std::nullopt, 0x3AB4, ChipIdentity::WrongChip,
     "Operation failed: the chip in the socket is not a 16F628A (device ID 3AB4h).",
     "Wrong chip: the device ID reads 3AB4h, which no model of the device file has, but the "
     "model chosen is the 16F628A (device ID 1060h)."},
    {"an empty socket", nullptr, std::nullopt, -1, ChipIdentity::NoChip,
     "Operation failed: no chip found.",
     "No chip found: the device ID reads 3FFFh. DATA IN only follows DATA OUT"},
    {"DATA IN stuck low", "16F628A", false, -1, ChipIdentity::NoChip,
     "Operation failed: no chip found.",
     "No chip found: the device ID reads 0000h. DATA IN stays low"},
    {"DATA IN stuck high", "16F628A", true, -1, ChipIdentity::NoChip,
     "Operation failed: no chip found.",
     "No chip found: the device ID reads 3FFFh. DATA IN stays high even while DATA OUT is low"},
};

struct SocketRig : SimEngineRig {
    explicit SocketRig(const Socket& socket)
        : SimEngineRig(kShippedDevices, shippednumber("16F628A"), socket.chip ? socket.chip : "") {
        engine.devices = &table;
        if (socket.id >= 0) {
            ChipFamily family = chip->family();
            family.deviceid = socket.id;
            family.revision = 0;
            chip = std::make_unique<PicChip>(family, host.clock());
        }
        chip->setcommandlogging(true);
        chip->setflashword(0, 0x1234);
        adapter.attach(socket.chip ? chip.get() : nullptr);
        adapter.setdatainstuck(socket.stuck);
        fillbuffer();
    }

    // Every command code the chip decoded.
    std::set<int32_t> commands() const {
        std::set<int32_t> codes;
        for (const ChipEvent& e : chip->log())
            if (e.kind == ChipEventKind::kCommand) codes.insert(e.command);
        return codes;
    }
};

bool startswith(const std::string& text, const std::string& prefix) {
    return text.rfind(prefix, 0) == 0;
}
bool endswith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

TEST(IdCheck, ProgramAllAndEraseAllStopBeforeTheChipSeesAnEraseOrWrite) {
    for (const Socket& socket : kSockets) {
        for (Operation op : {Operation::Program, Operation::Erase}) {
            SCOPED_TRACE(std::string(socket.what) +
                         (op == Operation::Program ? " program" : " erase"));
            SocketRig rig(socket);
            const ProgBuffer buffer = rig.buffer;
            const OperationResult result = runoperation(rig.engine, op, rig.port);

            EXPECT_EQ(result.status, socket.identity == ChipIdentity::NoChip
                                         ? OperationStatus::NoChip
                                         : OperationStatus::WrongChip);
            EXPECT_EQ(result.idcheck.identity, socket.identity);
            EXPECT_EQ(rig.host.status(), socket.status);
            ASSERT_EQ(rig.host.msgboxes.size(), 1u);
            const std::string& box = rig.host.msgboxes[0].text;
            EXPECT_EQ(rig.host.msgboxes[0].type, kMsgError);
            EXPECT_TRUE(startswith(box, socket.message)) << box;
            EXPECT_TRUE(endswith(box, "\r\n\r\nNothing was erased or written.")) << box;
            EXPECT_EQ(rig.host.enablecalls, rig.host.disablecalls);

            // Load Configuration, Increment and Read only: the identify script.
            EXPECT_TRUE(rig.commands().empty() ||
                        rig.commands() == (std::set<int32_t>{0x00, 0x04, 0x06}));
            EXPECT_EQ(rig.chip->flashword(0), 0x1234);
            EXPECT_FALSE(rig.adapter.supply());
            EXPECT_EQ(rig.buffer.flash, buffer.flash);
        }
    }
}

// quellmark-cli program: the Verify after a done Program All powers the chip up once less, as it
// does not read the ID again; after a refused one it checks (and warns) as ever.
TEST(IdCheck, VerifyAfterProgramAllReadsTheIdAgainOnlyWhenProgramAllWasNotDone) {
    const Socket right{
        "the model's chip", "16F628A", std::nullopt, -1, ChipIdentity::Match, "", ""};
    int32_t powerons[2] = {};
    for (const bool afterprogram : {false, true}) {
        SocketRig rig(right);
        const OperationResult programmed = programall(rig.engine, rig.port);
        ASSERT_EQ(programmed.status, OperationStatus::Done) << rig.host.status();
        const int32_t before = rig.chip->count(ChipEventKind::kPowerOn);
        const OperationResult verified = afterprogram
                                             ? verifyprogrammed(rig.engine, rig.port, programmed)
                                             : verifyall(rig.engine, rig.port);
        EXPECT_EQ(verified.status, OperationStatus::Done) << rig.host.status();
        EXPECT_EQ(verified.idcheck.identity, ChipIdentity::Match);
        powerons[afterprogram] = rig.chip->count(ChipEventKind::kPowerOn) - before;
    }
    EXPECT_EQ(powerons[1], powerons[0] - 1);

    SocketRig wrong(kSockets[0]);
    const OperationResult refused = programall(wrong.engine, wrong.port);
    const OperationResult verified = verifyprogrammed(wrong.engine, wrong.port, refused);
    EXPECT_EQ(verified.idcheck.identity, ChipIdentity::WrongChip);
    ASSERT_GE(wrong.host.msgboxes.size(), 2u);  // the refusal, the warning, the mismatches
    EXPECT_EQ(wrong.host.msgboxes[1].type, kMsgInfo);
    EXPECT_TRUE(startswith(wrong.host.msgboxes[1].text, "Wrong chip: "));
}

TEST(IdCheck, IdentifyNamesTheChipAndLeavesBufferAndSupplyAlone) {
    SocketRig rig(kSockets[0]);
    const ProgBuffer buffer = rig.buffer;
    OperationResult result = identifychip(rig.engine, rig.port);
    EXPECT_EQ(result.status, OperationStatus::Done);
    EXPECT_EQ(rig.host.statuses, (std::vector<std::string>{
                                     "Begin identify.", "Device ID 0E27h: 16F877A, revision 7."}));
    EXPECT_EQ(result.idcheck.models, std::vector<std::string>{"16F877A"});
    EXPECT_EQ(rig.buffer.flash, buffer.flash);
    EXPECT_EQ(rig.buffer.conf, buffer.conf);
    EXPECT_FALSE(rig.adapter.supply());

    SocketRig unknown(kSockets[1]);
    identifychip(unknown.engine, unknown.port);
    EXPECT_EQ(unknown.host.status(), "Device ID 3AB4h: no model of the device file has this ID.");
}

TEST(IdCheck, AnIdentifyScriptThatLeavesTheSupplyOnIsAScriptError) {
    EngineRig rig;
    rig.model.deviceid = 0x1060;
    rig.model.identifysteps = script("begin,s00-3fff,temp=s04");
    rig.model.steps[size_t(Operation::Program)] = script("begin,s09,end");
    rig.port.reads = {0x1062};
    PortState port;
    port.portready = true;
    const OperationResult result = programall(rig.engine, port);
    EXPECT_EQ(result.status, OperationStatus::ScriptError);
    EXPECT_EQ(rig.host.status(), "Operation failed: script error in instruction 3 ('temp=s04').");
    ASSERT_EQ(rig.host.msgboxes.size(), 1u);
    EXPECT_NE(rig.host.msgboxes[0].text.find("the identify script leaves the supply switched on"),
              std::string::npos);
    EXPECT_EQ(rig.port.toggles, 2);  // on by the script, off again
    for (const Transfer& t : rig.port.transfers) EXPECT_NE(t.command, 0x09);
}

}  // namespace
}  // namespace qm::test
