// The code page services of the Windows checker: the system's ANSI code page
// and its own conversion, so a marked file reads as the tool reads it.
#include <windows.h>

#include <algorithm>
#include <string>

#include "os/code_page.h"

namespace hostconfig {

uint32_t DefaultAnsiCodePage() { return GetACP(); }

std::string WideToCodePage(std::u16string_view text, uint32_t code_page,
                           bool* lossy) {
  *lossy = false;
  if (text.empty()) return {};
  const wchar_t* wide = reinterpret_cast<const wchar_t*>(text.data());
  int length = static_cast<int>(text.size());
  int size = ::WideCharToMultiByte(code_page, 0, wide, length, nullptr, 0,
                                   nullptr, nullptr);
  std::string out(static_cast<size_t>(size > 0 ? size : 0), '\0');
  if (size > 0) {
    ::WideCharToMultiByte(code_page, 0, wide, length, out.data(), size,
                          nullptr, nullptr);
  }
  // The default character and best-fit look-alikes both show as a
  // difference once the text is converted back, as the tool finds them.
  int back = size > 0 ? ::MultiByteToWideChar(code_page, 0, out.data(), size,
                                              nullptr, 0)
                      : 0;
  std::wstring round(static_cast<size_t>(back > 0 ? back : 0), L'\0');
  if (back > 0)
    ::MultiByteToWideChar(code_page, 0, out.data(), size, round.data(), back);
  *lossy = round.size() != text.size() ||
           !std::equal(round.begin(), round.end(), text.begin());
  return out;
}

}  // namespace hostconfig
