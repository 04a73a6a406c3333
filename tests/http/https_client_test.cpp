// The client over TLS, against scripted servers that present certificates
// of a CA made for the test run (tests/support/make-test-ca): the same
// events as over plain http when the certificate is good, and a refusal
// that names the host and the reason, before any request is sent, when it
// is not. private-net puts the test CA alone over /etc/ssl/certs.
#include "client_test_support.h"
#include "http/http_error.h"
#include "script_server.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace client_test;

std::string Identity(const std::string& name) {
  const char* dir = std::getenv("MPI_TEST_CA");
  return std::string(dir != nullptr ? dir : "") + "/" + name + ".pem";
}

// A server presenting `identity` (a file of make-test-ca), or speaking plain
// http when it is empty.
std::unique_ptr<ScriptServer> Server(const std::string& identity) {
  if (identity.empty()) return std::make_unique<ScriptServer>();
  return std::make_unique<ScriptServer>(Identity(identity));
}

struct TlsCase {
  const char* name;
  const char* identity;   // of the first server; "" for plain http
  const char* identity2;  // of the second server
  std::vector<ConnectionScript> server;
  std::vector<ConnectionScript> server2;
  std::string url;  // {port} {port2} replaced
  Events events;
  std::string body;
  std::string error;  // the whole text, or its start when errorIsPrefix
  bool errorIsPrefix = false;
  std::vector<std::string> requestLines;   // first lines the first server received
  std::vector<std::string> requestLines2;  // and the second
};

std::ostream& operator<<(std::ostream& out, const TlsCase& c) { return out << c.name; }

const Events kRefusedBeforeRequest{"Connecting to 127.0.0.1."};

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
const TlsCase kTlsCases[] = {
    {"GoodCertificateGivesThePlainHttpEvents",
     "good",
     "",
     {{ReadRequest(), Send(Ok("installer"))}},
     {},
     "https://127.0.0.1:{port}/dvl.exe",
     Join({kNewConnection, {"<begin 9>", "<work 9>", "<end complete>"}}),
     "installer",
     "",
     false,
     {"GET /dvl.exe HTTP/1.1"}},
    {"GoodCertificateByName",
     "good",
     "",
     {{ReadRequest(), Send(Ok("ok"))}},
     {},
     "https://localhost:{port}/dvl.exe",
     Join({{"Resolving hostname localhost."}, kNewConnection, {"<begin 2>", "<work 2>", "<end complete>"}}),
     "ok",
     "",
     false,
     {"GET /dvl.exe HTTP/1.1"}},
    // A stream that ends without TLS's own close is cut short, never a
    // reset: the body is not whole, and nobody reset anything.
    {"BodyCutShortWithoutCloseNotify",
     "good",
     "",
     {{ReadRequest(), Send(Response("200 OK", {"Content-Length: 8"}, "abc")), Pause(100), Drop()}},
     {},
     "https://127.0.0.1:{port}/dvl.exe",
     Join({kNewConnection, {"<begin 8>", "<work 3>", "Disconnected.", "<end cut>"}}),
     "abc",
     "",
     false,
     {"GET /dvl.exe HTTP/1.1"}},
    // Without a length, TLS's close ends the body. (libcurl over OpenSSL
    // takes a bare close for one as well; Schannel does not, and the
    // download tests under Wine hold the tool to that.)
    {"BodyUntilCloseNotify",
     "good",
     "",
     {{ReadRequest(), Send(Response("200 OK", {}, "abc")), Pause(100), Close()}},
     {},
     "https://127.0.0.1:{port}/dvl.exe",
     Join({kNewConnection, {"<begin 0>", "<work 3>", "Disconnected.", "<end complete>"}}),
     "abc",
     "",
     false,
     {"GET /dvl.exe HTTP/1.1"}},
    // Refused in the handshake: the server never sees a request.
    {"UntrustedRoot",
     "untrusted",
     "",
     {{ReadRequest(), Send(Ok("forged"))}},
     {},
     "https://127.0.0.1:{port}/dvl.exe",
     kRefusedBeforeRequest,
     "",
     "The certificate of 127.0.0.1 was refused: SSL certificate problem: unable to get local issuer certificate"},
    {"WrongHostName",
     "wrong-host",
     "",
     {{ReadRequest(), Send(Ok("forged"))}},
     {},
     "https://127.0.0.1:{port}/dvl.exe",
     kRefusedBeforeRequest,
     "",
     "The certificate of 127.0.0.1 was refused: SSL: no alternative certificate subject name matches target host "
     "name '127.0.0.1'"},
    {"ExpiredCertificate",
     "expired",
     "",
     {{ReadRequest(), Send(Ok("stale"))}},
     {},
     "https://127.0.0.1:{port}/dvl.exe",
     kRefusedBeforeRequest,
     "",
     "The certificate of 127.0.0.1 was refused: SSL certificate problem: certificate has expired"},
    {"PlainHttpOnTheTlsPort",
     "",
     "",
     {{Send(Response("400 Bad Request", {"Content-Length: 0"})), Close()}},
     {},
     "https://127.0.0.1:{port}/dvl.exe",
     kRefusedBeforeRequest,
     "",
     "No secure connection to 127.0.0.1: ",
     true},
    // Redirects between the schemes.
    {"HttpsToHttpIsRefused",
     "good",
     "",
     {{ReadRequest(), Send(Found("http://127.0.0.1:{port2}/dvl.exe"))}},
     {{ReadRequest(), Send(Ok("swapped"))}},
     "https://127.0.0.1:{port}/dvl.exe",
     Join({kNewConnection, {"<redirect http://127.0.0.1:{port2}/dvl.exe #1 handled GET>"}, kClientCloses}),
     "",
     "Redirect refused: it leaves https for plain http: http://127.0.0.1:{port2}/dvl.exe",
     false,
     {"GET /dvl.exe HTTP/1.1"},
     {}},
    {"HttpsToHttpsKeepsTheCookie",
     "good",
     "good",
     {{ReadRequest(), Send(Found("https://127.0.0.1:{port2}/dvl.exe", "", {"Set-Cookie: session=42; Path=/"}))}},
     {{ReadRequest(), Send(Ok("installer"))}},
     "https://127.0.0.1:{port}/start",
     Join({kNewConnection,
           {"<redirect https://127.0.0.1:{port2}/dvl.exe #1 handled GET>"},
           kClientCloses,
           kNewConnection,
           {"<begin 9>", "<work 9>", "<end complete>"}}),
     "installer",
     "",
     false,
     {"GET /start HTTP/1.1"},
     {"GET /dvl.exe HTTP/1.1", "Cookie: session=42"}},
    // What a site does today: plain http sends the client on to https.
    {"HttpToHttpsIsFollowed",
     "",
     "good",
     {{ReadRequest(), Send(Found("https://127.0.0.1:{port2}/dvl.exe"))}},
     {{ReadRequest(), Send(Ok("installer"))}},
     "http://127.0.0.1:{port}/dvl.exe",
     Join({kNewConnection,
           {"<redirect https://127.0.0.1:{port2}/dvl.exe #1 handled GET>"},
           kClientCloses,
           kNewConnection,
           {"<begin 9>", "<work 9>", "<end complete>"}}),
     "installer",
     "",
     false,
     {"GET /dvl.exe HTTP/1.1"},
     {"GET /dvl.exe HTTP/1.1"}},
    {"RedirectToAnUntrustedServerIsRefused",
     "",
     "untrusted",
     {{ReadRequest(), Send(Found("https://127.0.0.1:{port2}/dvl.exe"))}},
     {{ReadRequest(), Send(Ok("forged"))}},
     "http://127.0.0.1:{port}/dvl.exe",
     Join({kNewConnection,
           {"<redirect https://127.0.0.1:{port2}/dvl.exe #1 handled GET>"},
           kClientCloses,
           kRefusedBeforeRequest}),
     "",
     "The certificate of 127.0.0.1 was refused: SSL certificate problem: unable to get local issuer certificate",
     false,
     {"GET /dvl.exe HTTP/1.1"},
     {}},
};
#pragma GCC diagnostic pop

// The first line of each request, and the Cookie line where there is one.
std::vector<std::string> Lines(const std::vector<std::string>& requests) {
  std::vector<std::string> lines;
  for (const std::string& request : requests) {
    lines.push_back(request.substr(0, request.find("\r\n")));
    const std::size_t cookie = request.find("\r\nCookie: ");
    if (cookie != std::string::npos) {
      lines.push_back(request.substr(cookie + 2, request.find("\r\n", cookie + 2) - cookie - 2));
    }
  }
  return lines;
}

class HttpsClientCase : public testing::TestWithParam<TlsCase> {};

TEST_P(HttpsClientCase, VerifiesTheServerAndReportsAsOverHttp) {
  const TlsCase& c = GetParam();
  ASSERT_NE(std::getenv("MPI_TEST_CA"), nullptr) << "run through tests/http/private-net --test-ca";
  std::unique_ptr<ScriptServer> server = Server(c.identity);
  std::unique_ptr<ScriptServer> server2 = Server(c.identity2);
  const std::vector<std::pair<std::string, int>> values{{"{port2}", server2->port()}, {"{port}", server->port()}};
  auto substituted = [&](std::vector<ConnectionScript> scripts) {
    for (ConnectionScript& script : scripts) {
      for (Step& step : script) step.bytes = Substitute(step.bytes, values);
    }
    return scripts;
  };
  server->Play(substituted(c.server));
  server2->Play(substituted(c.server2));

  Recorder recorder;
  HttpClient client(recorder);
  client.settings().accept = kAccept;
  client.settings().userAgent = kUserAgent;
  MemorySink sink;
  std::string error;
  try {
    client.Get(Substitute(c.url, values), sink);
  } catch (const HttpError& e) {
    error = e.what();
  }

  Events expected;
  for (const std::string& event : c.events) expected.push_back(Substitute(event, values));
  EXPECT_EQ(recorder.events, expected);
  EXPECT_EQ(sink.bytes, c.body);
  const std::string expectedError = Substitute(c.error, values);
  if (c.errorIsPrefix) {
    EXPECT_EQ(error.substr(0, expectedError.size()), expectedError) << error;
    EXPECT_GT(error.size(), expectedError.size()) << "the reason is missing";
  } else {
    EXPECT_EQ(error, expectedError);
  }
  EXPECT_EQ(Lines(server->requests()), c.requestLines);
  EXPECT_EQ(Lines(server2->requests()), c.requestLines2);
}

INSTANTIATE_TEST_SUITE_P(Certificates, HttpsClientCase, testing::ValuesIn(kTlsCases),
                         [](const testing::TestParamInfo<TlsCase>& param) { return std::string(param.param.name); });

}  // namespace
