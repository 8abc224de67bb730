// Standard error held in a pipe for a while, for a library that writes what it has to say there
// and nowhere else.
#pragma once

#include <string>

namespace ui::qt {

// While the object lives (until Finish), whatever any part of the program writes to standard
// error goes to a pipe instead; past the pipe's 64 KiB it is dropped, never blocking the writer.
// When standard error cannot be moved, nothing is captured and everything goes out as usual.
class StderrCapture {
public:
    StderrCapture();
    ~StderrCapture();  // finishes, writing out what was captured
    StderrCapture(const StderrCapture&) = delete;
    StderrCapture& operator=(const StderrCapture&) = delete;

    // The pipe's reading end, -1 when nothing is captured; valid until Finish.
    int ReadEnd() const { return m_read; }
    // Puts standard error back and returns what was written to it meanwhile, for the caller to
    // keep or to pass on with PassOn. Asked again, returns nothing.
    std::string Finish();
    // Writes `text` to standard error.
    static void PassOn(const std::string& text);

private:
    int m_read = -1;
    int m_saved = -1;  // standard error as it was
};

}  // namespace ui::qt
