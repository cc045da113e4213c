#ifndef MOSSDEN_BENCH_BENCHAPP_H
#define MOSSDEN_BENCH_BENCHAPP_H

// A benchmark's one application, built on first use and kept to the end of
// the process (call its shutdown before main returns).
#include "app/MossdenApp.h"

namespace Mossden::Bench {

inline MossdenApp& app() {
    static MossdenApp application;
    return application;
}

}  // namespace Mossden::Bench

#endif
