// ReportToSystem() tells the user about a fatal error without any window of
// the program's own: standard error everywhere, and on Windows a message box
// with the error icon and an OK button that returns when it is closed.
// `reason` is in code page 936.
#ifndef QUORVEL_TEXT_SYSTEM_REPORT_H_
#define QUORVEL_TEXT_SYSTEM_REPORT_H_

namespace quorvel {

void ReportToSystem(const char* reason);

}  // namespace quorvel

#endif  // QUORVEL_TEXT_SYSTEM_REPORT_H_
