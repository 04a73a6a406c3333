// Where the body of a successful GET goes: the window passes the target
// file, tests pass memory. Write either takes all bytes or throws.
#pragma once

#include <cstddef>

class OutputSink {
 public:
  virtual void Write(const char* data, std::size_t size) = 0;
  // The body is over, before its end is reported. `complete`: it ended
  // where its framing says; a sink that holds bytes back hands them over
  // now, and a sink that replaces something does so only then. Throws like
  // Write; the body then counts as cut.
  virtual void Finish(bool complete) { (void)complete; }

 protected:
  ~OutputSink() = default;
};
