// The code page services of the Windows checker: the system's ANSI code page
// and its own conversion, so a marked file reads as the tool reads it.
#include <windows.h>

#include "os/code_page.h"

namespace hostconfig {

uint32_t DefaultAnsiCodePage() { return GetACP(); }

std::string WideToCodePage(std::u16string_view text, uint32_t code_page,
                           size_t* unconverted) {
  if (text.empty()) return {};
  const wchar_t* wide = reinterpret_cast<const wchar_t*>(text.data());
  int length = static_cast<int>(text.size());
  BOOL used_default = FALSE;
  // UTF-7 and UTF-8 refuse the default-character flag.
  BOOL* used = code_page == CP_UTF8 || code_page == CP_UTF7 ? nullptr
                                                            : &used_default;
  int size = ::WideCharToMultiByte(code_page, 0, wide, length, nullptr, 0,
                                   nullptr, used);
  std::string out(static_cast<size_t>(size > 0 ? size : 0), '\0');
  if (size > 0) {
    ::WideCharToMultiByte(code_page, 0, wide, length, out.data(), size,
                          nullptr, used);
  }
  if (used_default) ++*unconverted;
  return out;
}

}  // namespace hostconfig
