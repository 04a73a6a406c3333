// Where the body of a successful GET goes: the window passes the target
// file, tests pass memory. Write either takes all bytes or throws.
#pragma once

#include <cstddef>

class OutputSink {
 public:
  virtual void Write(const char* data, std::size_t size) = 0;

 protected:
  ~OutputSink() = default;
};
