# The settings lookup's pre-check: a line whose key text and the key are
# both printable ASCII with different digits is passed over without the
# locale comparison. In every locale the system lists, such pairs never
# compare equal (tests/wine/locale_digits.cpp).

wine_case_lookup_precheck_holds_in_every_locale() {
  local out rc=0
  cp "$HC_BUILD/locale_digits.exe" "$(hc_kits_path locale_digits.exe)"
  out=$(hc_wine 'C:\kits\locale_digits.exe' </dev/null 2>/dev/null | tr -d '\r') || rc=$?
  hc_expect_eq "$rc" 0 "exit code of locale_digits (output: $out)"
  if [[ $out =~ ^locales\ ([0-9]+),\ pairs\ ([0-9]+)$ ]]; then
    ((BASH_REMATCH[1] >= 100)) || hc_fail "only ${BASH_REMATCH[1]} locales: $out"
    ((BASH_REMATCH[2] >= 10000)) || hc_fail "only ${BASH_REMATCH[2]} pairs: $out"
  else
    hc_fail "unexpected output: $out"
  fi
}
