#pragma once

#include <cstdint>

namespace qm {

// A port that can take many line changes at once (a USB bit-bang cable) offers this beside its
// one-change-per-call operations. The line driver queues whole word transfers here; the port
// sends them in as few USB round trips as it can, in exactly the order they were queued, and
// holds every line state at least as long as asked (and at least as long as the chip needs).
//
// Nothing queued has reached the pins until flush returns. The driver flushes before it uses a
// value read and before the waits it sleeps (the supply sequences'); a script's short waits are
// queued instead, as the lines held unchanged, so that they cost no round trip of their own. The
// port's own one-change operations flush first, so they never overtake what is queued.
class LineBatch {
  public:
    virtual ~LineBatch() = default;

    // Queues one change of RTS or DTR, held at least holdus microseconds.
    virtual void queuerts(bool on, int32_t holdus) = 0;
    virtual void queuedtr(bool on, int32_t holdus) = 0;
    // Queues the lines as they are, held at least holdus microseconds: a wait measured on the
    // port's own clock, which a slow USB link can only make longer.
    virtual void queuehold(int32_t holdus) = 0;
    // Queues one read of DSR with the lines as they are; returns its number, counted from 0
    // since the last flush.
    virtual int32_t queuedsr() = 0;
    // Sends everything queued and returns once it has reached the pins and every queued read
    // has come back. False when the port has failed.
    virtual bool flush() = 0;
    // Read number n of the last flush: true when DSR was asserted (false after a failure).
    virtual bool dsrread(int32_t n) const = 0;
};

}  // namespace qm
