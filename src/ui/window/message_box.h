// The tool's message boxes: application title as caption, modal to `owner`.
#pragma once

#include <windows.h>

#include <string>

// Plain box: no icon, one OK button; returns when the user closes it.
void ShowMessage(HWND owner, const std::wstring& text);

// Question with Yes and No; true for Yes.
bool AskYesNo(HWND owner, const std::wstring& text);

// Box of the default error handler: the error icon and the text, with "."
// appended when its last character sorts after ".".
void ShowErrorMessage(HWND owner, const std::wstring& text);
