#include "ui/poll_rules.h"

#include <algorithm>

std::wstring TargetStatusText(std::wstring_view prefix, const std::vector<std::wstring>& roots) {
  std::wstring list;
  for (const std::wstring& root : roots) {
    if (!list.empty()) list += L"; ";
    list += root;
  }
  if (list.empty()) list = L" BRAK";
  return std::wstring(prefix) + list;
}

std::optional<std::wstring> SingleDriveSelectorText(const std::vector<std::wstring>& entries,
                                                    std::wstring_view selectorText) {
  if (entries.size() != 1 || entries.front() == selectorText) return std::nullopt;
  return entries.front();
}

bool DriveListDiffers(std::vector<std::wstring> shown, std::vector<std::wstring> found) {
  std::sort(shown.begin(), shown.end());
  std::sort(found.begin(), found.end());
  return shown != found;
}

bool DeviceChangeRunsPoll(unsigned event, unsigned long deviceType, bool pollOn) {
  return pollOn && (event == kDeviceArrival || event == kDeviceRemoveComplete) && deviceType == kDeviceTypeVolume;
}
