// One response body on its way in: where its bytes go and the work events
// around it.
#pragma once

#include "http/http_events.h"
#include "http/output_sink.h"

#include <cstddef>
#include <cstdint>
#include <string>

class ResponseBody {
 public:
  enum class Destination { Sink, Memory, Discard };

  ResponseBody(HttpEvents& events, OutputSink& sink, std::size_t memoryLimit)
      : events_(events), sink_(sink), memoryLimit_(memoryLimit) {}

  // Reports work begin. `reportWork` false keeps the work events of this
  // body quiet (a thrown-away body of unannounced length).
  void Begin(Destination destination, std::int64_t expected, bool reportWork);
  void Take(const char* data, std::size_t size);
  // Reports work end once, if the body has begun.
  void End(bool complete);

  bool open() const { return open_; }
  // The part of a Memory body that was kept.
  std::string& memory() { return memory_; }

 private:
  HttpEvents& events_;
  OutputSink& sink_;
  std::size_t memoryLimit_;
  Destination destination_ = Destination::Discard;
  bool open_ = false;
  bool reportWork_ = true;
  std::int64_t received_ = 0;
  std::string memory_;
};
