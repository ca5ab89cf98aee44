#pragma once
// FFmpeg's own log lines (an encoder's statistics, a muxer's warnings, the reason a codec
// refuses its settings). They stay off the terminal unless the user asks to see them; the
// error lines logged while a capture is open on a thread are kept, so that the message about
// a failure can give the library's own reason.
//
//   graph::LibraryLogCapture capture;
//   if (avcodec_open2(...) < 0) reason = capture.Text(); // "mpeg4: qmin and or qmax are ..."
// A capture belongs to the thread that made it and lives on its stack.
#include <string>

namespace graph {

// Whether FFmpeg's lines reach standard error; the programs say so at start. Once this was
// called or a capture made, they are off until it is called with true.
void ShowLibraryLog(bool show);

class LibraryLogCapture {
  public:
    LibraryLogCapture();
    ~LibraryLogCapture();
    LibraryLogCapture(const LibraryLogCapture&) = delete;
    LibraryLogCapture& operator=(const LibraryLogCapture&) = delete;

    // The error lines logged on this thread since the capture opened, each as
    // "<component>: <text>", one a line; empty when none were.
    const std::string& Text() const { return text_; }
    // The capture opened last on this thread and still open, or null.
    static const LibraryLogCapture* Innermost();

  private:
    friend void Capture(const std::string& line);
    LibraryLogCapture* outer_;
    std::string text_;
};

} // namespace graph
