#pragma once
// The Windows side of handing over what the window found: the clipboard, the save dialog and
// the side panel's context menu. What is handed over is made by the form.

#include <optional>
#include <string>

#include "form/WindowMessages.h"
#include "platform/win32/WindowsApi.h"

namespace sxf {

// Puts the text (UTF-8, lines ending in '\n') on the clipboard with CR LF line ends, as
// CF_UNICODETEXT and as CF_TEXT in code page 932 (characters it lacks as '?') with CF_LOCALE
// Japanese, so that a program reading either gets the same cells. False when the clipboard
// cannot be had.
bool PutTextOnClipboard(HWND owner, const std::string& utf8);

// GetSaveFileNameW for a PNG picture, opened in folder with name offered (UTF-8): the chosen
// name with its folder (UTF-8), empty when the user cancelled.
std::string AskSaveFileNameWithDialog(HWND owner, const std::string& titleShiftJis,
                                      const std::string& folder, const std::string& name);

// The hand-over actions with their keys in a context menu at screen point (x, y); the one
// chosen, none when the menu was dismissed.
std::optional<THandOver> TrackHandOverMenu(HWND owner, int x, int y, bool japanese);

// An edit control's own context menu gives way to its parent's: its WM_CONTEXTMENU goes up,
// as a plain window's does.
void PassContextMenuToParent(HWND edit);

}  // namespace sxf
