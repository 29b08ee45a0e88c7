// For every locale the system lists, random pairs of printable-ASCII texts
// whose sequences of digits differ must never compare equal with
// CompareStringEx and NORM_IGNORECASE: the settings lookup passes over such
// lines without comparing them. Texts that differ only in letter case must
// compare equal (else the comparison itself would prove nothing).
// Prints "locales N, pairs M" and exits 0, or prints the first pair that
// compares equal and exits 1.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::vector<std::wstring> g_locales;

BOOL CALLBACK AddLocale(LPWSTR name, DWORD, LPARAM) {
  if (name != nullptr && name[0] != L'\0') g_locales.push_back(name);
  return TRUE;
}

unsigned g_seed = 12345;
unsigned Next() {
  g_seed = g_seed * 1103515245u + 12345u;
  return (g_seed >> 16) & 0x7FFF;
}

// Mostly letters, digits, "-" and "'", which word sort weighs lightly, and
// now and then any printable byte.
wchar_t RandomChar() {
  static const wchar_t kCommon[] = L"0123456789AaBbCcEeFfKkMmSs-' .";
  if (Next() % 4 == 0) return static_cast<wchar_t>(0x20 + Next() % 95);
  return kCommon[Next() % (sizeof kCommon / sizeof kCommon[0] - 1)];
}

std::wstring Digits(const std::wstring& text) {
  std::wstring digits;
  for (wchar_t c : text)
    if (c >= L'0' && c <= L'9') digits += c;
  return digits;
}

// b from a: letters in other case, "-" and "'" added or dropped, and one
// digit changed, added or dropped.
std::wstring Variant(std::wstring b) {
  for (wchar_t& c : b) {
    if (c >= L'a' && c <= L'z' && Next() % 2) c = static_cast<wchar_t>(c - 32);
  }
  if (Next() % 2) b.insert(Next() % (b.size() + 1), 1, Next() % 2 ? L'-' : L'\'');
  size_t at = Next() % (b.size() + 1);
  switch (Next() % 3) {
    case 0: b.insert(at, 1, static_cast<wchar_t>(L'0' + Next() % 10)); break;
    case 1:
      for (wchar_t& c : b)
        if (c >= L'0' && c <= L'9') { c = static_cast<wchar_t>(L'0' + (c - L'0' + 1) % 10); break; }
      break;
    default:
      for (size_t i = 0; i < b.size(); ++i)
        if (b[i] >= L'0' && b[i] <= L'9') { b.erase(i, 1); break; }
  }
  return b;
}

bool Equal(const std::wstring& locale, const std::wstring& a,
           const std::wstring& b) {
  return CompareStringEx(locale.c_str(), NORM_IGNORECASE, a.c_str(),
                         static_cast<int>(a.size()), b.c_str(),
                         static_cast<int>(b.size()), nullptr, nullptr,
                         0) == CSTR_EQUAL;
}

}  // namespace

int main() {
  EnumSystemLocalesEx(AddLocale, LOCALE_ALL, 0, nullptr);
  if (g_locales.size() < 10) {
    std::printf("only %u locales listed\n", static_cast<unsigned>(g_locales.size()));
    return 1;
  }
  unsigned long pairs = 0;
  for (const std::wstring& locale : g_locales) {
    if (!Equal(locale, L"Mask-01", L"mASK-01")) {
      std::printf("case is not ignored in %ls\n", locale.c_str());
      return 1;
    }
    for (int i = 0; i < 400; ++i) {
      std::wstring a;
      for (unsigned n = 1 + Next() % 14; n > 0; --n) a += RandomChar();
      std::wstring b = Variant(a);
      if (Digits(a) == Digits(b)) continue;
      ++pairs;
      if (Equal(locale, a, b)) {
        std::printf("equal in %ls: [%ls] [%ls]\n", locale.c_str(), a.c_str(),
                    b.c_str());
        return 1;
      }
    }
  }
  std::printf("locales %u, pairs %lu\n", static_cast<unsigned>(g_locales.size()),
              pairs);
  return 0;
}
