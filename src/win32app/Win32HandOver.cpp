#include "win32app/Win32HandOver.h"

#include <commdlg.h>

#include <algorithm>
#include <cstring>

#include "platform/RasterSurface.h"
#include "platform/win32/ShiftJis.h"
#include "win32app/Win32Form.h"
#include "win32app/WindowClass.h"

namespace sxf {

namespace {

// Hands a copy of the bytes to the clipboard, which owns them once it took them.
bool SetClipboardBytes(UINT format, const void* data, std::size_t size) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!memory) return false;
  void* bytes = GlobalLock(memory);
  if (!bytes) {
    GlobalFree(memory);
    return false;
  }
  std::memcpy(bytes, data, size);
  GlobalUnlock(memory);
  if (SetClipboardData(format, memory)) return true;
  GlobalFree(memory);
  return false;
}

constexpr const wchar_t* kEditProcProperty = L"SxfEditProc";

LRESULT CALLBACK EditPassingContextMenu(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CONTEXTMENU) return SendMessageW(GetParent(hwnd), msg, wp, lp);
  const auto own = reinterpret_cast<WNDPROC>(GetPropW(hwnd, kEditProcProperty));
  if (msg == WM_NCDESTROY) RemovePropW(hwnd, kEditProcProperty);
  return own ? CallWindowProcW(own, hwnd, msg, wp, lp) : DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

bool PutTextOnClipboard(HWND owner, const std::string& utf8) {
  std::string lines;
  lines.reserve(utf8.size() + utf8.size() / 8);
  for (char c : utf8) {
    if (c == '\n') lines += '\r';
    lines += c;
  }
  const std::wstring wide = Utf8ToWide(lines);
  const std::string sjis = WideToShiftJis(wide);
  // Another program may hold the clipboard for a moment.
  bool open = false;
  for (int attempt = 0; attempt < 10 && !(open = OpenClipboard(owner) != 0); ++attempt) Sleep(20);
  if (!open) return false;
  const LCID japanese = MAKELCID(MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN), SORT_DEFAULT);
  const bool ok =
      EmptyClipboard() &&
      SetClipboardBytes(CF_UNICODETEXT, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t)) &&
      SetClipboardBytes(CF_TEXT, sjis.c_str(), sjis.size() + 1) &&
      SetClipboardBytes(CF_LOCALE, &japanese, sizeof japanese);
  CloseClipboard();
  return ok;
}

std::string AskSaveFileNameWithDialog(HWND owner, const std::string& titleShiftJis,
                                      const std::string& folder, const std::string& name) {
  std::wstring file = Utf8ToWide(name);
  file.resize(std::max<std::size_t>(file.size() + 1, 32768), L'\0');  // room for a long path
  const std::wstring initialFolder = Utf8ToWide(folder);
  const std::wstring title = ShiftJisToWide(titleShiftJis);
  static const wchar_t kFilter[] = L"PNG (*.png)\0*.png\0";
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = kFilter;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrInitialDir = initialFolder.c_str();
  dialog.lpstrTitle = title.c_str();
  dialog.lpstrDefExt = L"png";
  dialog.Flags =
      OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
  if (!GetSaveFileNameW(&dialog)) return {};
  return WideToUtf8(file.c_str());
}

std::optional<THandOver> TrackHandOverMenu(HWND owner, int x, int y, bool japanese) {
  HMENU menu = CreatePopupMenu();
  if (!menu) return std::nullopt;
  for (int i = 0; i < kHandOverCount; ++i) {
    const auto what = static_cast<THandOver>(i);
    const std::wstring text =
        ShiftJisToWide(HandOverMenuText(what, japanese)) + L"\t" + Utf8ToWide(HandOverKey(what));
    AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(i + 1), text.c_str());
  }
  const int chosen = static_cast<int>(TrackPopupMenu(
      menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, x, y, 0, owner, nullptr));
  DestroyMenu(menu);
  if (chosen < 1 || chosen > kHandOverCount) return std::nullopt;
  return static_cast<THandOver>(chosen - 1);
}

void PassContextMenuToParent(HWND edit) {
  const LONG_PTR own = GetWindowLongPtrW(edit, GWLP_WNDPROC);
  SetPropW(edit, kEditProcProperty, reinterpret_cast<HANDLE>(own));
  SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditPassingContextMenu));
}

// ---- The form's hand-over services ----

bool TWin32Form::PutOnClipboard(const std::string& utf8) { return PutTextOnClipboard(Form1, utf8); }

std::string TWin32Form::AskSaveFileName(const std::string& folder, const std::string& name) {
  return AskSaveFileNameWithDialog(Form1, SaveDialogTitle(JapaneseMessages()), folder, name);
}

std::string TWin32Form::AskOpenFileName(const std::string& folder) {
  const bool japanese = JapaneseMessages();
  std::wstring file(32768, L'\0');  // room for a long path
  const std::wstring initialFolder = Utf8ToWide(folder);
  const std::wstring title = ShiftJisToWide(OpenDialogTitle(japanese));
  // "name (*.jww;*.jws)\0*.jww;*.jws\0\0"
  std::wstring filter = ShiftJisToWide(OpenDialogFilter(japanese)) + L" (*.jww;*.jws)";
  filter += L'\0';
  filter += L"*.jww;*.jws";
  filter += L'\0';
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = Form1;
  dialog.lpstrFilter = filter.c_str();
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrInitialDir = initialFolder.c_str();
  dialog.lpstrTitle = title.c_str();
  dialog.Flags =
      OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
  if (!GetOpenFileNameW(&dialog)) return {};
  return WideToUtf8(file.c_str());
}

bool TWin32Form::FileExists(const std::string& utf8) const {
  const DWORD attributes = GetFileAttributesW(Utf8ToWide(utf8).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::unique_ptr<TRasterSurface> TWin32Form::CreatePictureSurface(int width, int height) {
  return CreateRasterSurface(width, height);
}

std::string TWin32Form::Utf8OfShiftJis(const std::string& sjis) const {
  return ShiftJisToUtf8(sjis);
}

void TWin32Form::HighlightTallyCell(int row, int column) { tallyGrid_.Highlight(row, column); }

void TWin32Form::ShowBusy(bool busy) {
  // The work runs on the window's thread, so no WM_SETCURSOR puts the arrow back meanwhile;
  // the next one after it sets the cursor of whatever the mouse is over.
  if (busy)
    cursorBeforeBusy_ = SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)));
  else
    SetCursor(cursorBeforeBusy_);
}

bool TWin32Form::ShowHandOverMenu(HWND source, LPARAM lp) {
  // The side panel only: the preview's right button is a gesture.
  const HWND panel[] = {StringGrid1, Memo1, Panel2, Panel3, Label1, Label2};
  if (std::find(std::begin(panel), std::end(panel), source) == std::end(panel)) return false;
  POINT at{LowSigned(lp), HighSigned(lp)};
  if (lp == -1) {  // from the keyboard: at the control's corner
    at = POINT{0, 0};
    ClientToScreen(source, &at);
  }
  const std::optional<THandOver> chosen = TrackHandOverMenu(Form1, at.x, at.y, JapaneseMessages());
  if (!chosen) return true;
  switch (*chosen) {
    case THandOver::CopyTally: form_.CopyTally(); break;
    case THandOver::CopyMarks: form_.CopyMarks(); break;
    case THandOver::Save: form_.SaveFiles(); break;
  }
  return true;
}

}  // namespace sxf
