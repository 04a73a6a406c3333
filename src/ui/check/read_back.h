// The check before a written installer takes the old one's place: the file
// is read back from the medium (ReplacementFile::ReadBack), with its lines
// in the progress log. A failing, loose or fake stick accepts writes and
// gives other bytes back; "Ok" and "- Sukces" are said only of what the
// medium has proven to hold.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "system/replacement_file.h"
#include "ui/progress_log.h"

// After file.Flush(): logs the start, the bytes still to read after each
// block (processMessages runs first, and may throw to stop), and on success
// the SHA-256 of the installer. Returns the error box's text when the
// medium gave back other bytes or could not be read; nothing when the file
// may be committed.
std::optional<std::wstring> ReadBackInstaller(ReplacementFile& file, const std::wstring& targetPath, ProgressLog& log,
                                              const std::function<void()>& processMessages);
