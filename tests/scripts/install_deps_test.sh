#!/usr/bin/env bash
# scripts/install-deps against shims of apt-get, dpkg-query, dpkg and id: no
# root, no network. Each case sets which packages are installed, whether the
# index update fails and which packages apt cannot install.
set -euo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"

cat >"$work/bin/apt-get" <<'SHIM'
#!/usr/bin/env bash
echo "apt-get $*" >>"$STATE/log"
case " $* " in
  *" update "*) exit "${FAKE_UPDATE_RC:-0}" ;;
esac
packages=()
for arg in "$@"; do
  case $arg in -*|install|DPkg::*) ;; *) packages+=("$arg") ;; esac
done
for p in "${packages[@]}"; do
  if [[ " $FAKE_UNINSTALLABLE " == *" $p "* ]]; then echo "E: cannot install $p" >&2; exit 100; fi
done
printf '%s\n' "${packages[@]}" >>"$STATE/installed"
SHIM
cat >"$work/bin/dpkg-query" <<'SHIM'
#!/usr/bin/env bash
grep -qx -- "${@: -1}" "$STATE/installed" || exit 1
printf 'install ok installed'
SHIM
cat >"$work/bin/dpkg" <<'SHIM'
#!/usr/bin/env bash
case $1 in
  --print-foreign-architectures) cat "$STATE/arch" ;;
  --add-architecture) echo "$2" >>"$STATE/arch" ;;
esac
SHIM
cat >"$work/bin/id" <<'SHIM'
#!/usr/bin/env bash
echo "${FAKE_UID:-0}"
SHIM
chmod +x "$work/bin/"*

failures=0
fail() { echo "FAIL [$case_name]: $*"; failures=$((failures + 1)); }

# run_case NAME INSTALLED... : runs install-deps with the groups in $groups.
run_case() {
  case_name=$1; shift
  export STATE="$work/$case_name"
  mkdir -p "$STATE"; : >"$STATE/log"; : >"$STATE/arch"
  printf '%s\n' "$@" >"$STATE/installed"
  set +e
  PATH="$work/bin:$PATH" INSTALL_DEPS_RETRY_PAUSE=0 INSTALL_DEPS_STAMP="$work/wine32-stamp" \
    "$repo/scripts/install-deps" $groups >"$STATE/out" 2>&1
  rc=$?
  set -e
}
expect_rc() { [ "$rc" = "$1" ] || fail "exit status $rc, expected $1: $(cat "$STATE/out")"; }
expect_out() { grep -qF -- "$1" "$STATE/out" || fail "output lacks '$1': $(cat "$STATE/out")"; }
expect_installed() { grep -qx -- "$1" "$STATE/installed" || fail "$1 was not installed"; }
updates() { grep -c ' update' "$STATE/log" || true; }

native_installed=(cmake ninja-build g++ make libstb-dev dosfstools mtools xxd ccache libgtest-dev
                  libgmock-dev netpbm util-linux time)

groups=native
run_case nothing_missing "${native_installed[@]}"
expect_rc 0
[ -s "$STATE/log" ] && fail "apt-get ran although nothing was missing"

# The day the i386 security index fails: retried, then the other packages are
# installed and the missing 32-bit Wine is said in one line, with success.
groups="native windows"
FAKE_UPDATE_RC=100 FAKE_UNINSTALLABLE=wine32:i386 run_case bad_index_day "${native_installed[@]}"
expect_rc 0
[ "$(updates)" = 3 ] || fail "index update tried $(updates) times, expected 3"
expect_installed xvfb
expect_installed mingw-w64
grep -qx i386 "$STATE/arch" || fail "the i386 architecture was not added"
expect_out "the 32-bit Wine (wine32:i386) cannot be installed today; the Windows tests will run from the 64-bit build"
[ "$(grep -c 'install-deps:' "$STATE/out")" = 2 ] || fail "expected the index line and the Wine line only"

# The next run does not wait on the broken index again within the hour.
FAKE_UPDATE_RC=100 FAKE_UNINSTALLABLE=wine32:i386 run_case bad_index_rerun $(cat "$work/bad_index_day/installed")
expect_rc 0
[ -s "$STATE/log" ] && fail "apt-get ran again within the hour"
expect_out "the Windows tests will run from the 64-bit build"
rm -f "$work/wine32-stamp"

# Any other package that cannot be installed is an error that names it; the
# rest is installed all the same.
FAKE_UNINSTALLABLE="xvfb" run_case uninstallable_package "${native_installed[@]}"
expect_rc 1
expect_out "install-deps: cannot install: xvfb"
expect_installed imagemagick
expect_installed wine32:i386

FAKE_UID=1000 run_case not_root cmake
expect_rc 1
expect_out "missing packages: ninja-build"
[ -s "$STATE/log" ] && fail "apt-get ran without root"

# can-run-win32 answers no, quietly, where the 32-bit loader is absent.
set +e
out=$(WINE32_LOADER="$work/no-such-loader" "$repo/scripts/can-run-win32" 2>&1)
rc=$?
set -e
case_name=can_run_win32
[ "$rc" = 1 ] && [ -z "$out" ] || fail "exit $rc with output '$out', expected a quiet 1"

[ "$failures" = 0 ] && echo "install-deps: all cases passed"
exit "$failures"
