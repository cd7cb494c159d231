#pragma once

#include <benchmark/benchmark.h>

// penlark-organizer --carddav making its first copy of a 10,000-card address book on a real
// Radicale, from its start until it serves; its floor is one bare addressbook-query REPORT
// of every card, what the server itself takes to send them. The server, its cards and a
// bus of its own are set up once, before the first run.
void TimeCardDavCopy(benchmark::State& state);
