#pragma once

#include <benchmark/benchmark.h>

// The address-book stand-in started on a vCard file of 100,000 cards, timed until it
// serves, beside its floor: reading the file's bytes.
void TimeServingVcards(benchmark::State& state);
