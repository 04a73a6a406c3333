// What the client's tests share: a recorder of its events, an output in
// memory, and the responses and event runs the scripts are made of.
#pragma once

#include "http/http_client.h"

#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace client_test {

inline constexpr char kAccept[] = "text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8";
inline constexpr char kUserAgent[] = "Mozilla/3.0 (compatible; Indy Library)";

class Recorder : public HttpEvents {
 public:
  std::vector<std::string> events;
  std::function<void(const std::string&)> onEvent;  // may throw, like a window handler

  void OnStatus(HttpStatus, const std::string& text) override { Add(text); }
  void OnConnected() override { Add("<connected>"); }
  void OnDisconnected() override { Add("<disconnected>"); }
  void OnRedirect(std::string& dest, std::int32_t& numRedirect, bool& handled, std::string& method) override {
    Add("<redirect " + dest + " #" + std::to_string(numRedirect) + (handled ? " handled " : " ") + method + ">");
  }
  void OnWorkBegin(WorkMode mode, std::int64_t max) override {
    Add(std::string(mode == WorkMode::Read ? "<begin " : "<write begin ") + std::to_string(max) + ">");
  }
  void OnWork(WorkMode, std::int64_t count) override { Add("<work " + std::to_string(count) + ">"); }
  void OnWorkEnd(WorkMode, bool complete) override { Add(complete ? "<end complete>" : "<end cut>"); }

 private:
  void Add(const std::string& event) {
    events.push_back(event);
    if (onEvent) onEvent(event);
  }
};

class MemorySink : public OutputSink {
 public:
  std::string bytes;
  void Write(const char* data, std::size_t size) override { bytes.append(data, size); }
};

inline std::string Response(const std::string& status, const std::vector<std::string>& headers,
                            const std::string& body = {}) {
  std::string text = "HTTP/1.1 " + status + "\r\n";
  for (const std::string& header : headers) text += header + "\r\n";
  return text + "\r\n" + body;
}

inline std::string Ok(const std::string& body, const std::vector<std::string>& more = {}) {
  std::vector<std::string> headers{"Content-Length: " + std::to_string(body.size())};
  headers.insert(headers.end(), more.begin(), more.end());
  return Response("200 OK", headers, body);
}

inline std::string Found(const std::string& location, const std::string& body = {},
                         const std::vector<std::string>& more = {}) {
  std::vector<std::string> headers{"Location: " + location, "Content-Length: " + std::to_string(body.size())};
  headers.insert(headers.end(), more.begin(), more.end());
  return Response("302 Found", headers, body);
}

using Events = std::vector<std::string>;

inline Events Join(std::initializer_list<Events> parts) {
  Events all;
  for (const Events& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

inline const Events kNewConnection{"Connecting to 127.0.0.1.", "Connected.", "<connected>"};
inline const Events kClientCloses{"Disconnecting.", "<disconnected>", "Disconnected."};

inline std::string Substitute(std::string text, const std::vector<std::pair<std::string, int>>& values) {
  for (const auto& [name, value] : values) {
    for (std::size_t at; (at = text.find(name)) != std::string::npos;) {
      text.replace(at, name.size(), std::to_string(value));
    }
  }
  return text;
}

}  // namespace client_test
