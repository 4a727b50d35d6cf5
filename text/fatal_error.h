// FatalError() is the program's one fatal report: it tells the user the reason
// and ends the process with exit code -1. It is reached only by a broken
// invariant (an array index out of range, a negative array size), exhausted
// memory, or a start-up window that cannot be made.
//
// Exhausted memory reaches it by itself: every program that links this
// library gets, before main() runs, a new-handler that gives back a small
// reserve (so the report has room to work) and calls FatalError() with the
// reason "out of memory". operator new therefore never throws std::bad_alloc
// in this program. Should the report itself run out of memory, the reason goes
// to standard error alone and the process ends with the same exit code.
#ifndef QUORVEL_TEXT_FATAL_ERROR_H_
#define QUORVEL_TEXT_FATAL_ERROR_H_

namespace quorvel {

class Text;

// Shows `reason` to the user and ends the process with exit code -1.
[[noreturn]] void FatalError(const Text& reason);

// How the reason is shown. The default writes it to standard error and, on
// Windows, shows a message box with the error icon. A program with a window
// system of its own (the Linux window) installs a reporter that also shows a
// dialog. The reporter returns; FatalError() then ends the process.
using FatalErrorReporter = void (*)(const Text& reason);
void SetFatalErrorReporter(FatalErrorReporter reporter);

}  // namespace quorvel

#endif  // QUORVEL_TEXT_FATAL_ERROR_H_
