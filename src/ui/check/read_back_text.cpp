#include "ui/check/read_back_text.h"

namespace {

// What the user has left, said in every failure: the work never touches
// the old installer until the new one is proven.
constexpr std::wstring_view kNothingReplaced =
    L"Nowy instalator nie zosta\u0142 zapisany; to, co by\u0142o na dysku, pozosta\u0142o bez zmian.";

}  // namespace

std::wstring ReadBackStartLine(std::wstring_view targetPath) { return L"Sprawdzam zapis " + std::wstring(targetPath); }

std::wstring ReadBackRemainingLine(std::int64_t remaining) {
  return L"Do sprawdzenia : " + std::to_wstring(remaining) + L" bytes";
}

std::wstring ReadBackDigestLine(std::wstring_view hexDigest) { return L"SHA-256 : " + std::wstring(hexDigest); }

std::wstring ReadBackMismatchText(std::wstring_view targetPath) {
  return L"Dysk odda\u0142 inne dane ni\u017c zapisane do " + std::wstring(targetPath) +
         L". Mo\u017ce by\u0107 uszkodzony albo podrobiony (mie\u015bci mniej, ni\u017c podaje).\r\n" +
         std::wstring(kNothingReplaced);
}

std::wstring ReadBackFailedText(std::wstring_view targetPath, std::wstring_view systemMessage) {
  return L"Nie mo\u017cna odczyta\u0107 z dysku zapisanego " + std::wstring(targetPath) + L": " +
         std::wstring(systemMessage) + L"\r\nDysk mo\u017ce by\u0107 uszkodzony.\r\n" + std::wstring(kNothingReplaced);
}
