// The pieces of the HTTP client that decide without a network: reading a
// response head, resolving redirect locations, and socket error texts.
#include "http/detail/exchange.h"
#include "http/detail/response_head.h"
#include "http/detail/socket_error.h"
#include "http/detail/tls_check.h"
#include "http/detail/url_parts.h"
#include "http/http_error.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>

namespace {

ResponseHead Read(std::initializer_list<const char*> lines) {
  ResponseHead head;
  for (const char* line : lines) head.Take(line);
  return head;
}

TEST(ResponseHead, KeepsStatusLineLengthLocationAndChunking) {
  ResponseHead head =
      Read({"HTTP/1.1 302 Moved Temporarily\r\n", "location:  /x y \r\n", "Content-Length: 12\r\n", "\r\n"});
  EXPECT_TRUE(head.complete());
  EXPECT_EQ(head.statusLine(), "HTTP/1.1 302 Moved Temporarily");
  EXPECT_EQ(head.status(), 302);
  EXPECT_EQ(head.location(), "/x y");
  EXPECT_EQ(head.contentLength(), 12);
  EXPECT_TRUE(head.IsRedirect());
  EXPECT_TRUE(head.HasBody());

  ResponseHead chunked = Read({"HTTP/1.1 200 OK\r\n", "Transfer-Encoding: gzip, Chunked\r\n", "\r\n"});
  EXPECT_TRUE(chunked.chunked());
  EXPECT_TRUE(chunked.HasBody());
  EXPECT_FALSE(chunked.BodyUntilClose());
}

TEST(ResponseHead, KnowsWhichResponsesCarryABody) {
  struct Row {
    std::initializer_list<const char*> lines;
    bool body;
    bool untilClose;
  };
  const Row rows[] = {
      {{"HTTP/1.1 204 No Content\r\n", "\r\n"}, false, false},
      {{"HTTP/1.1 304 Not Modified\r\n", "Location: /a\r\n", "\r\n"}, false, false},
      {{"HTTP/1.1 200 OK\r\n", "Content-Length: 0\r\n", "\r\n"}, false, false},
      {{"HTTP/1.1 200 OK\r\n", "\r\n"}, true, true},
      {{"HTTP/1.0 404 Not Found\r\n", "Content-Length: 3\r\n", "\r\n"}, true, false},
  };
  for (const Row& row : rows) {
    ResponseHead head = Read(row.lines);
    SCOPED_TRACE(head.statusLine());
    EXPECT_EQ(head.HasBody(), row.body);
    EXPECT_EQ(head.BodyUntilClose(), row.untilClose);
  }
  EXPECT_FALSE(Read({"HTTP/1.1 304 Not Modified\r\n", "Location: /a\r\n", "\r\n"}).IsRedirect());
  EXPECT_FALSE(Read({"HTTP/1.1 301 Moved\r\n", "\r\n"}).IsRedirect());
}

TEST(ResponseHead, CompleteOnlyAfterTheEmptyLineOfAFinalStatus) {
  EXPECT_FALSE(Read({}).started());
  EXPECT_FALSE(Read({"HTTP/1.1 200 OK\r\n", "Content-Le"}).complete());
  ResponseHead interim = Read({"HTTP/1.1 100 Continue\r\n", "\r\n"});
  EXPECT_TRUE(interim.started());
  EXPECT_FALSE(interim.complete());
  ResponseHead final =
      Read({"HTTP/1.1 100 Continue\r\n", "\r\n", "HTTP/1.1 200 OK\r\n", "Content-Length: 4\r\n", "\r\n"});
  EXPECT_TRUE(final.complete());
  EXPECT_EQ(final.status(), 200);
  EXPECT_EQ(final.contentLength(), 4);
  // A length that is not a number announces nothing.
  EXPECT_FALSE(Read({"HTTP/1.1 200 OK\r\n", "Content-Length: 4x\r\n", "\r\n"}).contentLength());
}

TEST(ResponseHead, LengthThatCannotBeRightIsInvalid) {
  struct Row {
    std::initializer_list<const char*> fields;
    bool invalid;
  };
  const Row rows[] = {
      {{"Content-Length: 4\r\n"}, false},
      {{"Content-Length: 4\r\n", "content-length: 4\r\n"}, false},
      {{"Content-Length: 9223372036854775807\r\n"}, false},
      {{"Content-Length: 9223372036854775808\r\n"}, true},
      {{"Content-Length: 99999999999999999999999\r\n"}, true},
      {{"Content-Length: 4x\r\n"}, true},
      {{"Content-Length: -1\r\n"}, true},
      {{"Content-Length: 3\r\n", "Content-Length: 5\r\n"}, true},
      {{"Content-Length: 3, 5\r\n"}, true},
      {{"Transfer-Encoding: chunked\r\n"}, false},
  };
  for (const Row& row : rows) {
    ResponseHead head;
    head.Take("HTTP/1.1 200 OK\r\n");
    for (const char* field : row.fields) head.Take(field);
    head.Take("\r\n");
    EXPECT_EQ(head.lengthInvalid(), row.invalid) << *row.fields.begin();
  }
}

TEST(ResolveLocation, KeepsWhatTheLocationLeavesOut) {
  struct Row {
    const char* location;
    const char* url;
    const char* scheme;
    const char* host;
    long port;
  };
  const char* base = "http://example.com:8080/dir/page?q=1";
  const Row rows[] = {
      {"next", "http://example.com:8080/dir/next", "http", "example.com", 8080},
      {"/files/dvl.exe", "http://example.com:8080/files/dvl.exe", "http", "example.com", 8080},
      {"../up", "http://example.com:8080/up", "http", "example.com", 8080},
      {"//other.org/x", "http://other.org/x", "http", "other.org", 80},
      {"http://127.0.0.1:81/a", "http://127.0.0.1:81/a", "http", "127.0.0.1", 81},
      {"HTTPS://example.com/dvl.exe", "https://example.com/dvl.exe", "https", "example.com", 443},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.location);
    UrlParts parts = ResolveLocation(base, row.location);
    EXPECT_EQ(parts.url, row.url);
    EXPECT_EQ(parts.scheme, row.scheme);
    EXPECT_EQ(parts.host, row.host);
    EXPECT_EQ(parts.port, row.port);
  }
}

TEST(UrlParts, OriginAndNumericHosts) {
  EXPECT_TRUE(ParseUrl("http://Host/a").SameOrigin(ParseUrl("http://host:80/b")));
  EXPECT_FALSE(ParseUrl("http://host/a").SameOrigin(ParseUrl("http://host:81/a")));
  EXPECT_FALSE(ParseUrl("http://host/a").SameOrigin(ParseUrl("https://host/a")));
  EXPECT_TRUE(ParseUrl("http://127.0.0.1:5/").HostIsNumeric());
  EXPECT_TRUE(ParseUrl("http://[::1]:5/").HostIsNumeric());
  EXPECT_FALSE(ParseUrl("http://www.drovalin.pl/").HostIsNumeric());
  EXPECT_THROW(ParseUrl("not a url"), HttpError);
}

TEST(BoundedServerText, CutsAfterAThousandCharactersNeverInsideOne) {
  EXPECT_EQ(BoundedServerText(std::string(1000, 'a')), std::string(1000, 'a'));
  EXPECT_EQ(BoundedServerText(std::string(1001, 'a')), std::string(1000, 'a') + "\u2026");
  std::string letters;
  for (int i = 0; i < 1001; ++i) letters += "\xC5\xBC";
  EXPECT_EQ(BoundedServerText(letters), letters.substr(0, 2000) + "\u2026");
  // Bytes that are no UTF-8 count one each.
  EXPECT_EQ(BoundedServerText(std::string(1001, '\xFF')), std::string(1000, '\xFF') + "\u2026");
}

// What a failed transfer is called: a reset only where a socket or libcurl
// says so, and faults of the response by their own names.
TEST(TransferError, NamesTheFaultNotAResetThatNeverHappened) {
  const std::string reset = HttpSocketError(kConnectionReset).what();
#ifdef _WIN32
  const long resetByPeer = 10054;  // WSAECONNRESET
#else
  const long resetByPeer = 104;  // ECONNRESET
#endif
  struct Row {
    CURLcode code;
    long osError;
    const char* detail;
    bool inHead;
    std::string error;  // empty: no error
  };
  const Row rows[] = {
      {CURLE_OK, 0, "", false, ""},
      {CURLE_PARTIAL_FILE, 0, "transfer closed with 5 bytes remaining", false, ""},
      {CURLE_RECV_ERROR, 0, "Too large response headers: 307210 > 307200", true, "Response header too large."},
      {CURLE_OUT_OF_MEMORY, 0, "", true, "Response header too large."},
      {CURLE_OUT_OF_MEMORY, 0, "", false, "Out of memory"},
      {CURLE_RECV_ERROR, 0, "Illegal or missing hexadecimal sequence in chunked-encoding", false,
       "Invalid chunked encoding."},
      {CURLE_RECV_ERROR, 0, "Recv failure: Connection reset by peer", false, reset},
      // Schannel's stream that ended without TLS's close: a cut, no error.
      {CURLE_RECV_ERROR, 0, "", false, ""},
      {CURLE_RECV_ERROR, 0, "", true, ""},
      {CURLE_SEND_ERROR, 0, "", false, reset},
      {CURLE_RECV_ERROR, 0, "Failure when receiving data from the peer", false,
       "Failure when receiving data from the peer"},
      {CURLE_SEND_ERROR, 0, "Failed sending data to the peer", false, "Failed sending data to the peer"},
      {CURLE_RECV_ERROR, resetByPeer, "Recv failure: Connection reset by peer", false, reset},
      {CURLE_COULDNT_CONNECT, 0, "", false, HttpSocketError(kConnectionRefused).what()},
      // TLS failures name the host and keep the platform's reason; an OS
      // error left from the handshake's socket does not make them a reset.
      {CURLE_PEER_FAILED_VERIFICATION, resetByPeer,
       "schannel: SEC_E_UNTRUSTED_ROOT (0x80090325) - The certificate chain was issued by an authority that is not "
       "trusted.",
       false,
       "The certificate of www.drovalin.pl was refused: schannel: SEC_E_UNTRUSTED_ROOT (0x80090325) - The "
       "certificate chain was issued by an authority that is not trusted."},
      {CURLE_SSL_CONNECT_ERROR, 0, "error:0A00010B:SSL routines::wrong version number", false,
       "No secure connection to www.drovalin.pl: error:0A00010B:SSL routines::wrong version number"},
      {CURLE_SSL_CONNECT_ERROR, 0, "", false, "No secure connection to www.drovalin.pl: SSL connect error"},
  };
  for (const Row& row : rows) {
    std::string error;
    try {
      ThrowTransferError(row.code, row.osError, row.detail, row.inHead, "www.drovalin.pl");
    } catch (const HttpError& e) {
      error = e.what();
    }
    EXPECT_EQ(error, row.error) << row.code << " " << row.detail;
  }
}

// A chain's trust status becomes the certificate error its user is shown;
// revocation that could not be checked is no error (best effort).
TEST(TrustStatus, BecomesTheCertificateErrorThatExplainsIt) {
  struct Row {
    std::uint32_t status;
    std::uint32_t error;
  };
  const Row rows[] = {
      {0x00000000, 0},          {0x00000040, 0},  // revocation status unknown
      {0x01000040, 0},                            // and the revocation server offline
      {0x00010000, 0x800B010A},                   // partial chain, as Wine reports an unknown root: CERT_E_CHAINING
      {0x00000020, 0x800B0109},                   // untrusted root: CERT_E_UNTRUSTEDROOT
      {0x00000001, 0x800B0101},                   // not time valid: CERT_E_EXPIRED
      {0x00000021, 0x800B0101},                   // expired outranks an untrusted root
      {0x00000004, 0x80092010},                   // revoked: CRYPT_E_REVOKED
      {0x00000010, 0x800B0110},                   // not for server authentication: CERT_E_WRONG_USAGE
      {0x00000048, 0x80096004},                   // a bad signature, with revocation unknown: TRUST_E_CERT_SIGNATURE
      {0x00000080, 0x800B010A},                   // cyclic: CERT_E_CHAINING
      {0x00000800, 0x800B010B},                   // any other bit: TRUST_E_FAIL
  };
  for (const Row& row : rows) {
    EXPECT_EQ(TrustStatusError(row.status), row.error) << std::hex << row.status;
    // Every error the check can give has a text where the system has none.
    if (row.error != 0) {
      EXPECT_FALSE(CertificateErrorText(row.error).empty()) << std::hex << row.error;
    }
  }
  EXPECT_EQ(CertificateErrorText(0x800B010F), "The certificate's CN name does not match the passed value.");
  EXPECT_TRUE(CertificateErrorText(0x80004005).empty()) << "not a certificate error";
}

TEST(SocketError, TextCarriesTheWinsockCodeAndItsText) {
  EXPECT_STREQ(HttpSocketError(11001).what(), "Socket Error # 11001\r\nHost not found.");
  EXPECT_STREQ(HttpSocketError(10061).what(), "Socket Error # 10061\r\nConnection refused.");
  EXPECT_STREQ(HttpSocketError(10060).what(), "Socket Error # 10060\r\nConnection timed out.");
  EXPECT_STREQ(HttpSocketError(10065).what(), "Socket Error # 10065\r\nNo route to host.");
  EXPECT_STREQ(HttpSocketError(10054).what(), "Socket Error # 10054\r\nConnection reset by peer.");
  EXPECT_EQ(HttpSocketError(10061).code(), 10061);
}

#ifndef _WIN32
TEST(SocketError, LinuxErrorsBecomeWinsockCodes) {
  EXPECT_EQ(WinsockCodeFromOsError(111), 10061);
  EXPECT_EQ(WinsockCodeFromOsError(110), 10060);
  EXPECT_EQ(WinsockCodeFromOsError(104), 10054);
  EXPECT_EQ(WinsockCodeFromOsError(113), 10065);
}
#else
TEST(SocketError, WindowsErrorsAreWinsockCodesAlready) {
  EXPECT_EQ(WinsockCodeFromOsError(10061), 10061);
  EXPECT_EQ(WinsockCodeFromOsError(10054), 10054);
}
#endif

}  // namespace
