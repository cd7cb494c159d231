#pragma once

#include <QString>

#include <functional>

// The test-only misbehaviour of a stand-in's calls, as its count switches set it (-1: never):
//   --end-after N    answers N calls and ends at the next one without answering it, as a
//                    crash would, with status 3
//   --stall-after N  answers N calls and leaves every later one unanswered
//   --refuse-at N    refuses the N-th call (counted from 1) and answers every other one
struct CallFaultCounts {
  int endAfter = -1;
  int stallAfter = -1;
  int refuseAt = -1;

  // Whether option, as written ("--end-after"), is one of the count switches.
  static bool IsSwitch(const QString& option);
  // Sets the count of that switch from its value; false, with *error, when the value is not
  // a number of calls.
  bool Set(const QString& option, const QString& value, QString* error);
};

// Counts a program's calls, every object's together, and gives each its verdict.
class CallCounter {
 public:
  enum class Verdict { Answer, Refuse, LeaveUnanswered };

  // beforeEnd runs, with the call, just before --end-after ends the program.
  CallCounter(CallFaultCounts counts, std::function<void(const QString& call)> beforeEnd)
      : counts_(counts), beforeEnd_(std::move(beforeEnd)) {}

  // Counts the call; may end the program instead of returning.
  Verdict Count(const QString& call);
  int Calls() const { return calls_; }  // counted so far, this one too

 private:
  CallFaultCounts counts_;
  std::function<void(const QString&)> beforeEnd_;
  int calls_ = 0;
  int answered_ = 0;
};
