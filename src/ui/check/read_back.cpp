#include "ui/check/read_back.h"

#include "system/sha256.h"
#include "system/win32.h"
#include "ui/check/read_back_text.h"

std::optional<std::wstring> ReadBackInstaller(ReplacementFile& file, const std::wstring& targetPath, ProgressLog& log,
                                              const std::function<void()>& processMessages) {
  log.AppendLine(ReadBackStartLine(targetPath));
  log.AppendLine(ReadBackRemainingLine(file.writtenBytes()));
  const ReadBackResult result = file.ReadBack([&](std::int64_t remaining) {
    processMessages();
    log.ReplaceLastLine(ReadBackRemainingLine(remaining));
  });
  if (result.error != 0) return ReadBackFailedText(targetPath, SystemMessage(result.error));
  if (!result.same) return ReadBackMismatchText(targetPath);
  log.AppendLine(ReadBackDigestLine(HexDigest(result.written)));
  return std::nullopt;
}
