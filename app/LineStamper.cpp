#include "app/LineStamper.h"

#include <cstdio>

#include "app/GameClock.h"

namespace Mossden {

LineStamper::LineStamper(std::streambuf* target, const GameClock& clock, RealClock::time_point start)
    : target(target), clock(clock), start(start) {}

int LineStamper::formatStamp(double realSeconds, double gameSeconds, unsigned long long frame, char* out) {
    const int n = std::snprintf(out, STAMP_MAX, "[real %.3f game %.3f frame %llu] ", realSeconds, gameSeconds, frame);
    return n < 0 ? 0 : (n < STAMP_MAX ? n : STAMP_MAX - 1);
}

int LineStamper::overflow(int c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    if (atLineStart) {
        char stamp[STAMP_MAX];
        const double real = std::chrono::duration<double>(RealClock::now() - start).count();
        const int length =
            formatStamp(real, static_cast<double>(clock.microseconds()) / 1e6, clock.frame(), stamp);
        if (target->sputn(stamp, length) != length) return traits_type::eof();
        atLineStart = false;
    }
    if (c == '\n') atLineStart = true;
    return target->sputc(static_cast<char>(c));
}

int LineStamper::sync() { return target->pubsync(); }

}  // namespace Mossden
