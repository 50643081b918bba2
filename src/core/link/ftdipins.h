#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qm {

// Where a USB cable built on an FT232R has the adapter's lines in bit-bang mode, and at which pin
// level each line is asserted. The default is the chip's own UART wiring behind an RS-232
// transceiver, which inverts: TXD on D0 (idle high), RTS# on D2, DTR# on D4, DSR# on D5, each
// asserted when its pin is low. That gives the 9-pin connector the levels the serial driver
// gives it.
//
// TXD stays on D0 with its UART polarity: the supply toggle is a real UART frame, and only D0
// carries one. RTS and DTR stay on D2 and D4 (either way round): they are the only pins the
// UART drives, so only they keep their levels while that frame is sent.
struct FtdiPinMap {
    struct Line {
        int pin = 0;                // D0..D7
        bool assertedhigh = false;  // the pin is high when the line is asserted

        bool operator==(const Line&) const = default;
    };

    Line rts{2, false};
    Line dtr{4, false};
    Line dsr{5, false};

    static constexpr int kTxdPin = 0;

    // The pins bit-bang mode drives: TXD, RTS and DTR.
    uint8_t outputmask() const;
    // The pin byte for these line states, with TXD idle.
    uint8_t encode(bool rtson, bool dtron) const;
    // The line states a pin byte shows.
    bool rtsof(uint8_t pins) const;
    bool dtrof(uint8_t pins) const;
    bool dsrof(uint8_t pins) const;
    bool txdidle(uint8_t pins) const { return (pins & (1u << kTxdPin)) != 0; }

    // The UART's modem-control settings (asserted = RTS#/DTR# pin low, as the chip's UART
    // drives them) that put the same levels on D2 and D4 as these line states in bit-bang mode.
    struct UartLines {
        bool rts = false;
        bool dtr = false;
    };
    UartLines uartlines(bool rtson, bool dtron) const;

    // "rts=D2,dtr=D4,dsr=D5", with ":high" after a line asserted by a high pin.
    std::string text() const;

    bool operator==(const FtdiPinMap&) const = default;
};

// Reads a pin map: comma-separated LINE=PIN entries, LINE one of rts, dtr, dsr, PIN D0..D7 (or
// 0..7), optionally followed by ":high" (asserted when the pin is high) or ":low" (the default).
// Lines left out keep their default. On a fault returns nothing and says why in `error`.
std::optional<FtdiPinMap> parseftdipins(std::string_view text, std::string& error);

}  // namespace qm
