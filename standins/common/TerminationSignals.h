#pragma once

class QCoreApplication;

// Makes SIGTERM and SIGINT end app's event loop with exit code 0, so a stand-in gives up
// its bus names on the way out. Call once, before taking the names, so even an early
// signal ends it cleanly. False when the signals cannot be watched.
bool QuitOnTerminationSignals(QCoreApplication& app);
