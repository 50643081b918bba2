#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "ftdistandin/standin.h"
#include "sim/picchip.h"
#include "sim/simadapter.h"

namespace qm::standin {

// An FT232R as libftdi drives it, on a cable into the simulated adapter and chip. Time is kept
// in nanoseconds against the clock it is given: a control request takes Config::requestus,
// written bytes reach the chip that much later and are clocked out at the pins' rate, each
// leaving a sample in a FIFO of Config::fifo bytes (a sample that finds it full is lost), and
// samples come back in packets of 62 while a read waits: a full one at once, a short one when
// the latency timer runs out, one packet per 50 us on the bus.
//
// It counts what a real cable would hide: line states at the connector shorter than the chip's
// setup and hold time, line moves while the mode changes, pulses on TD in bit-bang mode, lost
// samples, frames cut short by a mode change. DATA IN reaches the pins 1 us after the chip (or
// DATA OUT) changes it, through the adapter and the cable's transceiver twice, so a sample
// taken sooner sees the level before.
class Ft232r {
  public:
    Ft232r(const Config& config, Clock& clock);
    ~Ft232r();
    Ft232r(const Ft232r&) = delete;
    Ft232r& operator=(const Ft232r&) = delete;

    const Config& config() const { return config_; }

    // ---- USB, as libftdi's calls reach it.
    // Counts a call; false once the cable is unplugged.
    bool alive();
    // The time of a control request passes.
    void controlwait();
    // Opening: the kernel's serial driver is detached (attached again on close when
    // `reattach`), and the chip is reset.
    void open(bool reattach);
    void close();
    bool inuse() const { return inuse_; }
    bool driverattached() const { return driverattached_; }

    void setbitmode(uint8_t outputs, uint8_t mode);
    void setbaud(int32_t baud);
    void setmodemlines(bool dtr, bool rts);
    void setlatency(int32_t ms) { latencyms_ = ms; }
    void purgereceive();
    // Bulk OUT: pin bytes in bit-bang mode, frames in UART mode.
    void write(const uint8_t* data, size_t size);
    // ftdi_read_data: USB transfers of `chunk` bytes until `size` samples are there or one
    // brings only status; returns the samples taken.
    size_t read(uint8_t* buffer, size_t size, size_t chunk);
    // Modem status in the low byte, line status in the high byte.
    uint16_t modemstatus();

    // ---- What it found.
    double pinrate() const;
    int64_t requests() const { return requests_; }
    int64_t pinbytes() const { return pinbytes_; }
    int64_t shortstates() const { return shortstates_; }
    int64_t shortestns() const { return shortestns_; }
    int64_t modemoves() const { return modemoves_; }
    int64_t tdpulses() const { return tdpulses_; }
    int64_t lostsamples() const { return lostsamples_; }
    int64_t cutframes() const { return cutframes_; }
    int64_t frames() const { return frames_; }
    bool bitbang() const { return bitbang_; }
    bool rts() const { return rts_; }
    bool dtr() const { return dtr_; }

    PicChip* chip() { return chip_.get(); }
    SimAdapter& adapter() { return adapter_; }

  private:
    class EventClock;
    struct Frame {
        uint8_t byte;
        int64_t end;
    };
    struct Level {
        int64_t at;
        bool high;
    };

    int64_t now() const;
    void waituntil(int64_t ns);
    // Works through the pin bytes and frames due up to `ns`.
    void run(int64_t ns);
    int64_t nextbyte() const;
    void clockbyte(int64_t at);
    void endframe();
    uint8_t pinlevels() const;
    // The connector follows the pins; `ns` is when.
    void showpins(int64_t ns);
    void notedsr(int64_t ns);
    bool dsrat(int64_t ns) const;
    // One USB IN transfer of at most `packets` packets, starting at `ns`; the samples it
    // brings go to host_, and `ns` becomes the time it ends. False when it brought only status.
    bool transfer(int64_t& ns, size_t packets);

    Config config_;
    Clock& clock_;
    std::unique_ptr<EventClock> chipclock_;
    SimAdapter adapter_;
    std::unique_ptr<PicChip> chip_;

    int64_t calls_ = 0;
    bool unplugged_ = false;
    bool inuse_ = false;
    bool driverattached_ = true;
    bool reattach_ = false;

    bool bitbang_ = false;
    uint8_t outputs_ = 0;
    uint8_t latch_ = 0;  // powers up as zeros [U]
    int32_t baud_ = 9600;
    int32_t latencyms_;
    bool uartrts_ = false;
    bool uartdtr_ = false;
    bool changingmode_ = false;

    std::deque<std::pair<uint8_t, int64_t>> tx_;  // pin bytes and when they reach the chip
    int64_t lastbyte_;
    std::deque<Frame> pending_;  // frames on TD, with the time each ends
    int64_t uartfree_ = 0;
    std::deque<uint8_t> fifo_;  // samples not yet sent to the PC
    std::deque<uint8_t> host_;  // samples the PC has, not yet taken (libftdi's buffer)
    int64_t lastpacket_ = 0;
    int64_t busfree_ = 0;

    // The connector.
    bool rts_ = false;
    bool dtr_ = false;
    bool txd_ = true;
    int64_t statestart_;
    std::deque<Level> dsr_;

    int64_t requests_ = 0;
    int64_t pinbytes_ = 0;
    int64_t shortstates_ = 0;
    int64_t shortestns_;
    int64_t modemoves_ = 0;
    int64_t tdpulses_ = 0;
    int64_t lostsamples_ = 0;
    int64_t cutframes_ = 0;
    int64_t frames_ = 0;
};

}  // namespace qm::standin
