// What the host and the guest's /init agree on: the kernel command-line words that describe a
// scenario, and the lines /init reports on the serial console.
#pragma once

#include <string>
#include <string_view>

namespace guestproto {

// Kernel command-line words, each "<key>=<value>". The kernel ignores words with a dot in
// their name and hands them to nobody, so /init reads them from /proc/cmdline.
inline constexpr std::string_view kIo = "vellix.io";          // parport_pc io=, such as 0xd010
inline constexpr std::string_view kLp = "vellix.lp";          // 1: load the printer driver too
inline constexpr std::string_view kUid = "vellix.uid";        // run as this user; 0 is root
inline constexpr std::string_view kConfig = "vellix.config";  // config.ovm content, encoded
// Text a print job sends to /dev/lp0, encoded: started two seconds into the first run, while the
// program holds the port; the guest reports "printjob done" when the driver has taken it all.
inline constexpr std::string_view kPrintJob = "vellix.printjob";
inline constexpr std::string_view kRows = "vellix.rows";      // terminal size of the console
inline constexpr std::string_view kCols = "vellix.cols";
// One word per run, in order: "panel" (the program on the console, driven by keys) or
// "command:<arg>,<arg>..." (each argument encoded; output captured, no terminal).
inline constexpr std::string_view kRun = "vellix.run";
inline constexpr std::string_view kPanelRun = "panel";
inline constexpr std::string_view kCommandRun = "command:";
// More run words, for programs that run side by side: "background:<arg>,..." starts the program
// and goes on as soon as it has written to standard error (a recording has begun);
// "signal:INT" or "signal:TERM" sends that signal to the last background run, waits for it and
// reports it under its own number; "sleep:<ms>" waits. "command@<uid>:" and "background@<uid>:"
// run as that user, in group lp, whoever the scenario's user is. "print:<text>" starts a print
// job of that text, encoded, as the print job of the scenario does, at that point.
inline constexpr std::string_view kPrintRun = "print:";
// "bare:direct:<ms>" or "bare:ppdev:<ms>": the guest itself reads the three registers in a bare
// loop that long, as root, and reports the rounds and nanoseconds as the run's output.
inline constexpr std::string_view kBareLoopRun = "bare:";
inline constexpr std::string_view kBackgroundRun = "background:";
inline constexpr std::string_view kSignalRun = "signal:";
inline constexpr std::string_view kSleepRun = "sleep:";

// The group that may open /dev/parport* in the guest, as on Debian.
inline constexpr int kPortGroup = 7;

// Every report line starts so; the rest is "<what> <detail>":
//   "port parport0 53264 54288"         a port the kernel registered, its base-addr
//   "run 1 start"                       before run 1 starts
//   "run 1 stdout <line>"               a line the program wrote (command runs)
//   "run 1 stderr <line>"               a line the program wrote to standard error
//   "run 1 exit 0" / "run 1 signal 9"   how it ended
//   "run 1 config.ovm <encoded>"        the file afterwards, or "run 1 config.ovm missing"
//   "error <text>"                      a step of the guest's preparation failed
//   "end"                               all runs are done; the guest powers off
inline constexpr std::string_view kMarker = "vellix-guest: ";

// Bytes other than letters, digits and "._-:" as %XX, so that any text fits in one word.
std::string Encode(std::string_view text);
// The reverse; a malformed escape is kept as it stands.
std::string Decode(std::string_view word);

}  // namespace guestproto
