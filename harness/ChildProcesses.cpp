#include "ChildProcesses.h"

#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

constexpr int kMaxGroups = 64;
volatile sig_atomic_t groups[kMaxGroups];

void OnInterrupt(int signal) {
  for (int i = 0; i < kMaxGroups; ++i)
    if (groups[i] > 0) ::kill(-static_cast<pid_t>(groups[i]), SIGKILL);
  ::signal(signal, SIG_DFL);
  ::raise(signal);
}

}  // namespace

void EndWithTest(QProcess& process, bool ownGroup) {
  process.setChildProcessModifier([ownGroup] {
    if (ownGroup) ::setpgid(0, 0);
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
  });
}

void ListGroup(pid_t group) {
  for (int i = 0; i < kMaxGroups; ++i) {
    if (groups[i] == 0) {
      groups[i] = group;
      return;
    }
  }
}

void UnlistGroup(pid_t group) {
  for (int i = 0; i < kMaxGroups; ++i)
    if (groups[i] == group) groups[i] = 0;
}

void KillListedGroupsOnInterrupt() {
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) ::signal(signal, OnInterrupt);
}
