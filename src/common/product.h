// What the tool knows about the product it prepares media for: the names it
// writes, the site it talks to and the title it shows. Every feature takes
// these from here; scripts and CMake read the host from the kProductHost
// line below (scripts/product-host), so it is written nowhere else.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

// Volume label written onto the target and looked for in the label read back.
inline constexpr wchar_t kProductLabel[] = L"DROVALIN";
// The installer always lands in the target's root under this name.
inline constexpr wchar_t kInstallerFileName[] = L"dvl.exe";
// Taskbar text of the tool and caption of every message box it shows.
inline constexpr wchar_t kApplicationTitle[] = L"Utwórz dysk instalacyjny Drovalin";

inline constexpr char kProductHost[] = "www.drovalin.pl";

namespace product_detail {

// Joins ASCII literals into one zero-terminated array of `Char`. A character
// outside ASCII cannot be widened by a plain cast, so it stops compilation.
template <typename Char, std::size_t... Sizes>
constexpr auto Join(const char (&... parts)[Sizes]) {
  std::array<Char, (Sizes + ...) - sizeof...(Sizes) + 1> out{};
  std::size_t at = 0;
  auto append = [&](const char* part, std::size_t size) {
    for (std::size_t i = 0; i + 1 < size; ++i) {
      if (static_cast<unsigned char>(part[i]) > 0x7F) throw "address must be ASCII";
      out[at++] = static_cast<Char>(part[i]);
    }
  };
  (append(parts, Sizes), ...);
  out[at] = Char{};
  return out;
}

inline constexpr auto kProductSiteUrlW = Join<wchar_t>("http://", kProductHost);
inline constexpr auto kProductSiteUrlA = Join<char>("http://", kProductHost);
inline constexpr auto kSecureSiteUrlA = Join<char>("https://", kProductHost);
inline constexpr auto kHelpPageUrlA = Join<char>("https://", kProductHost, "/instalacjajpendrive.php");

}  // namespace product_detail

// Base address of the site over plain http: no path, no closing "/". The
// connectivity check probes it.
inline constexpr const wchar_t* ProductSiteUrl = product_detail::kProductSiteUrlW.data();
// The same address in 8-bit form, for the tests and benchmarks that ask the
// local site over plain http.
inline constexpr const char* ProductSiteUrlA = product_detail::kProductSiteUrlA.data();

// The same site over https, which the download appends "/dvl.exe" to: the
// installer is run by the user, so it comes only from a verified server.
inline constexpr const char* SecureSiteUrlA = product_detail::kSecureSiteUrlA.data();

// The help page, in 8-bit form for the 8-bit shell call that opens it.
inline constexpr const char* HelpPageUrl = product_detail::kHelpPageUrlA.data();
