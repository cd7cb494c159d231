#pragma once

#include <QProcess>

#include <sys/types.h>

// Nothing a test starts may outlive it. A child made with EndWithTest is killed by the
// kernel when the test program goes, however it goes. A process group of its own (an
// office that starts further processes) is out of reach of the terminal's Ctrl-C, so
// such groups are listed here and killed when the test program is interrupted.
void EndWithTest(QProcess& process, bool ownGroup = false);
void ListGroup(pid_t group);
void UnlistGroup(pid_t group);
// Called once by the test main: SIGINT, SIGTERM and SIGHUP kill the listed groups, then
// end the program as the signal would have.
void KillListedGroupsOnInterrupt();
