#pragma once
// Decides whether a module's end-of-file message belongs to the play that
// runs now. The message carries nothing that names its file, so every change
// of the play (a start, a stop, a seek) is marked in the same queue as the
// messages: a mark goes in behind everything posted before the change, and a
// message taken out before the newest mark was posted for an earlier play.
// A play ends once, whichever rule ends it.
#include <cstdint>

namespace qel {

class EndOfFileGate {
public:
    // The play changed; returns the mark to queue.
    uint32_t Change() {
        ended_ = false;
        return ++current_;
    }
    // A mark came out of the queue.
    void Reached(uint32_t mark) { reached_ = mark; }
    // A message came out of the queue: true when it belongs to the current
    // play and that play has not ended yet.
    bool Belongs() const { return reached_ == current_ && !ended_; }
    // The current play ended (by a message or by the timer's rules).
    void MarkEnded() { ended_ = true; }
    bool HasEnded() const { return ended_; }

private:
    uint32_t current_ = 0;
    uint32_t reached_ = 0;
    bool ended_ = false;
};

}  // namespace qel
