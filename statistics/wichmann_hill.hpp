// The uniform numbers of a Wichmann-Hill state, one at a time or as a stream
// made ahead.
//
// Each word of the generator is a multiplicative congruence, so the word k
// draws after a state w is w * a^k mod m. The stream forms every uniform of
// its window from its own jump, independently of the others (a loop the
// compiler vectorises), and knows the state after any number of reads without
// drawing them one by one. Its values and states are exactly those of
// uniform().
#pragma once

#include <cstdint>

#include "core/vectors.hpp"
#include "statistics/gamma_sampler.hpp"

namespace nrx::detail {

// The next uniform number in [0, 1): the fractional part of
// ix/30269 + iy/30307 + iz/30323 after each word is advanced, formed in
// single precision.
double uniform(WichmannHill& state);

// Writes window[k], for k in [from, to) (to <= UniformStream::capacity), the
// uniform k + 1 draws after `base`, formed with `vectors`, which the
// processor must run (each set gives the same values; the stream uses the
// widest).
void make_uniforms(const WichmannHill& base, std::int32_t from, std::int32_t to, double* window, Vectors vectors);

class UniformStream {
public:
    static constexpr std::int32_t capacity = 2048;

    // Reads start with the draw that follows `start`.
    explicit UniformStream(const WichmannHill& start) : base_(start) {}

    // The next uniform, as uniform(state) would draw it.
    double next()
    {
        if (cursor_ == filled_) {
            make_ahead(refill_run);
        }
        return window_[cursor_++];
    }

    // Makes at least min(count, capacity) unread uniforms available from the
    // cursor on. When the window has no room for them, the unread ones move to
    // its front first.
    void make_ahead(std::int32_t count);

    // window()[0 .. filled()) are made; those from cursor() on are unread.
    const double* window() const { return window_; }
    std::int32_t cursor() const { return cursor_; }
    std::int32_t filled() const { return filled_; }

    // Marks every uniform before `position` (cursor() <= position <=
    // filled()) read.
    void skip_to(std::int32_t position) { cursor_ = position; }

    // The generator state after the last uniform read.
    WichmannHill state() const;

private:
    // What next() makes when it runs out: few, so that a short call does not
    // make many more uniforms than it reads.
    static constexpr std::int32_t refill_run = 64;

    WichmannHill base_;  // the state before window_[0]
    std::int32_t cursor_ = 0;
    std::int32_t filled_ = 0;
    alignas(64) double window_[capacity];
};

}  // namespace nrx::detail
