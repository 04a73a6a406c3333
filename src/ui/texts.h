// Texts of the tool that more than one part of the window uses.
#pragma once

// Taskbar text of the tool and caption of every message box it shows.
inline constexpr wchar_t kApplicationTitle[] = L"Utwórz dysk instalacyjny Drovalin";
