#pragma once
// Random texts as a user produces them in an edit box: numbers in and out of
// range, loose numbers the check lets through ("-", "1.2.3", "007"), words,
// signs, exponents, spaces, empty texts, long texts, and double-byte text in
// code page 932 (as an input method or a paste would give it).
#include <cstdint>
#include <string>

// A small, fixed generator (xorshift), so a seed gives the same run everywhere.
class SoakRandom {
public:
    explicit SoakRandom(uint32_t seed) : state_(seed ? seed : 0x9E3779B9u) {}
    uint32_t next()
    {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    int below(int n) { return static_cast<int>(next() % static_cast<uint32_t>(n)); }
    int between(int low, int high) { return low + below(high - low + 1); }
    bool chance(int percent) { return below(100) < percent; }

private:
    uint32_t state_;
};

// A whole text, as pasted or typed at once.
std::string random_text(SoakRandom& random);
// One keystroke's worth: usually one character, sometimes a double-byte pair.
std::string random_keystroke(SoakRandom& random);
