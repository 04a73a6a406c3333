#include "http/detail/response_body.h"

#include <algorithm>
#include <exception>

void ResponseBody::Begin(Destination destination, std::int64_t expected, bool reportWork) {
  destination_ = destination;
  reportWork_ = reportWork;
  received_ = 0;
  open_ = true;
  events_.OnWorkBegin(WorkMode::Read, expected);
}

void ResponseBody::Take(const char* data, std::size_t size) {
  if (!open_) return;
  received_ += static_cast<std::int64_t>(size);
  switch (destination_) {
    case Destination::Sink:
      sink_.Write(data, size);
      break;
    case Destination::Memory:
      memory_.append(data, std::min(size, memoryLimit_ - std::min(memoryLimit_, memory_.size())));
      break;
    case Destination::Discard:
      break;
  }
  if (reportWork_) events_.OnWork(WorkMode::Read, received_);
}

void ResponseBody::End(bool complete) {
  if (!open_) return;
  open_ = false;
  // A sink that cannot take the rest makes the body incomplete; its error
  // leaves after the work end, as an error inside the body would.
  std::exception_ptr sinkError;
  if (destination_ == Destination::Sink) {
    try {
      sink_.Finish(complete);
    } catch (...) {
      sinkError = std::current_exception();
      complete = false;
    }
  }
  // A refusal's body (an error page, kept for the error text) is not what
  // was asked for, however whole it came: its work does not end complete.
  if (destination_ == Destination::Memory) complete = false;
  events_.OnWorkEnd(WorkMode::Read, complete);
  if (sinkError) std::rethrow_exception(sinkError);
}
