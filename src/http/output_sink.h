// Where the body of a successful GET goes: the window passes the target
// file, tests pass memory. Write either takes all bytes or throws.
#pragma once

#include <cstddef>

class OutputSink {
 public:
  virtual void Write(const char* data, std::size_t size) = 0;
  // The body is over (complete or not): a sink that holds bytes back hands
  // them over now, before the end of the work is reported. Throws like Write.
  virtual void Finish() {}

 protected:
  ~OutputSink() = default;
};
