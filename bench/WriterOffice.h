#pragma once

#include <QString>

class BenchWorld;

// The transfer into LibreOffice Writer: a headless office of the run's own (made on first
// use, ended by EndWriterOffice) and penlark-writer in front of it as the word processor.
// Present only when penlark-writer was built.
bool WriterBuilt();
// The letter opened afresh in the office and a fresh penlark-writer attached, as start-up
// would; false with *error when the office or penlark-writer cannot be had.
bool FreshWriterLetter(BenchWorld& world, QString* error);
void EndWriterOffice();
