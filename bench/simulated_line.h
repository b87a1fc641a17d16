// The line the end-to-end benchmarks run on: a host in this process that hands
// every frame to the register simulator and counts the bytes a 115200 baud
// line would carry, frame and answer.
#pragma once

#include <benchmark/benchmark.h>

#include <string>

#include "bench/bench_support.h"
#include "simulator.h"

namespace bench_support {

ecrsim::Simulator& SimulatedRegisters();

// Attaches the translator and initialises it on the simulated line with a
// definitions file of `definitions`, written into the folder `folder`.
void InitTranslatorOnSimulator(const char* folder, const std::string& definitions);

WireCount WireSoFar();

// Frames and wire milliseconds per iteration since `before`, and "wire_x":
// how many times faster than the wire the iterations ran.
void ReportWire(benchmark::State& state, const WireCount& before);

}  // namespace bench_support
