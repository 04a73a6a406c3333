// Addresses on the product web site. The host name is written once, here;
// every address is put together from it at compile time, in the character
// width its consumer needs.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace product_site_detail {

inline constexpr char kHost[] = "www.drovalin.pl";

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

inline constexpr auto kProductSiteUrlW = Join<wchar_t>("http://", kHost);
inline constexpr auto kProductSiteUrlA = Join<char>("http://", kHost);
inline constexpr auto kHelpPageUrlA = Join<char>("https://", kHost, "/instalacjajpendrive.php");

}  // namespace product_site_detail

// Base address of the site: no path, no closing "/". The connectivity check
// probes it; the download appends "/dvl.exe" to it.
inline constexpr const wchar_t* ProductSiteUrl = product_site_detail::kProductSiteUrlW.data();
// The same address in 8-bit form, for the HTTP client.
inline constexpr const char* ProductSiteUrlA = product_site_detail::kProductSiteUrlA.data();

// The help page, in 8-bit form for the 8-bit shell call that opens it.
inline constexpr const char* HelpPageUrl = product_site_detail::kHelpPageUrlA.data();
