// What the GUI driver and its random walk share: a failed step, and the
// texts and children of another process's windows.
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace gui_driver {

struct StepFailure : std::runtime_error {
  using std::runtime_error::runtime_error;
};
[[noreturn]] inline void Fail(const std::string& text) { throw StepFailure(text); }

inline std::wstring Wide(const std::string& text) {
  int n = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, wide.data(), n);
  wide.resize(wcslen(wide.c_str()));
  return wide;
}

inline std::string Utf8(const std::wstring& wide) {
  int n = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, text.data(), n, nullptr, nullptr);
  text.resize(strlen(text.c_str()));
  return text;
}

inline std::string WindowText(HWND window) {
  // Through a message, so that another process's edit controls answer too.
  LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(wcslen(text.c_str()));
  return Utf8(text);
}

inline std::string ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return Utf8(name);
}

inline bool IsComboBox(HWND window) {
  return _wcsicmp(Wide(ClassOf(window)).c_str(), L"ComboBox") == 0;
}

// `*` in the pattern matches any run of characters.
inline bool Matches(const char* pattern, const char* text) {
  if (*pattern == '*') return Matches(pattern + 1, text) || (*text && Matches(pattern, text + 1));
  return *pattern == *text && (!*text || Matches(pattern + 1, text + 1));
}

inline BOOL CALLBACK AddChild(HWND window, LPARAM data) {
  reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
  return TRUE;
}

inline std::vector<HWND> Descendants(HWND parent) {
  std::vector<HWND> found;
  EnumChildWindows(parent, AddChild, reinterpret_cast<LPARAM>(&found));
  return found;
}

}  // namespace gui_driver
