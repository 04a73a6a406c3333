// Keeps exceptions out of libcurl's C frames: a callback runs its work
// through Run, which catches everything and remembers the first exception;
// the callback then returns libcurl's error value, and the adapter rethrows
// once curl_easy_perform has returned. Events that follow a failure (the
// work end, the close of the connection) still run; their own exceptions
// give way to the first one.
#pragma once

#include <exception>
#include <utility>

class CallbackGuard {
 public:
  // Runs `work`; true when no exception has been caught so far.
  template <class Work>
  bool Run(Work&& work) noexcept {
    try {
      std::forward<Work>(work)();
    } catch (...) {
      Fail(std::current_exception());
    }
    return !failed();
  }

  // Records an error of the adapter's own, e.g. a time-out seen in a callback.
  void Fail(std::exception_ptr error) noexcept {
    if (!error_) error_ = std::move(error);
  }

  bool failed() const { return static_cast<bool>(error_); }

  void RethrowIfFailed() const {
    if (error_) std::rethrow_exception(error_);
  }

 private:
  std::exception_ptr error_;
};
