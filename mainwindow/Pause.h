#pragma once

#include <QtGlobal>

namespace trv {

// A wait of the reader logic (the DTR pulse, the pauses between reader commands). The window must stay
// alive meanwhile, and tests replace it to run fast while still seeing the lengths asked for.
class Pause {
public:
    virtual ~Pause() = default;
    // Returns after `ms` milliseconds (at once for 0 or less).
    virtual void wait(qint64 ms) = 0;
};

// Waits in a local event loop: serial data keeps arriving and the window keeps painting, while the
// operator's clicks and keys wait until the pause is over, so that no other reader command can start in
// the middle of one.
class EventLoopPause final : public Pause {
public:
    void wait(qint64 ms) override;
};

} // namespace trv
