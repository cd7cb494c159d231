#pragma once

struct ProgramValues;

// Start-up's connection to the word processor: attaches to the running
// "Word.Application.8" object and reads its version and active document, or, when none
// runs but a window of class "OpusApp" is open, creates "Word.Basic" and takes version
// "6". Sets pv.WordApp and pv.WordVersion. Each failure shows its message and ends the
// program through pv.desktop.EndProgram().
void ConnectToWord(ProgramValues& pv);
