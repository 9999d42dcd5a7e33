#!/usr/bin/env bash
# The programs as a user or a script runs them: a first run on a machine with no display,
# the usage text, and the first-run settings seen through merivanectl.
set -euo pipefail
merivane=$1
merivanectl=$2
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export MERIVANE_HOME=$home/merivane
unset DISPLAY WAYLAND_DISPLAY
export MERIVANE_NOW=2026-12-09T21:41:07

fail() { echo "FAIL: $*" >&2; exit 1; }

"$merivane" /i || fail "merivane /i exited $?"
[ -f "$MERIVANE_HOME/registry.sqlite" ] || fail "no registry store"
[ -d "$MERIVANE_HOME/drive_c/WINDOWS/SYSTEM" ] || fail "no virtual Windows folder"

usage=$("$merivane" /?)
expected="merivane uses the date and time to make daily theme or
wallpaper changes suitable for the current date.

Command line usage:   merivane [/i | /u | /n | /c | /a ]

  /i[nstall]                   = Sets up registry variables, shows setup window
  /u(install]                 = Removes registry variables
  /n[ow]                     = Makes a theme/wallpaper change immediately
  /c[heck]                  = Checks date to see if a theme change is needed.
  /a[pply] <filename> = Applies the named theme filename to the desktop.

Using no parameters shows a dialog box to make setup changes."
[ "$usage" = "$expected" ] || fail "usage text differs: $(diff <(echo "$usage") <(echo "$expected"))"

export_text=$("$merivanectl" reg export 'HKEY_CURRENT_USER\Software\Brennock\Merivane')
for line in '"LastFilenameUsed"="(none)"' '"ScheduledTime"="12:30 AM"' '"ChangesPerDay"=dword:00000001' \
            '"UseThemeMgrSettings"="YYYYYYYYY"' "\"ThemePath\"=\"$MERIVANE_HOME/drive_c/WINDOWS/Resources/Themes/\""; do
    grep -qxF "$line" <<<"$export_text" || fail "export lacks $line"
done
machine=$("$merivanectl" reg export 'HKLM\Software\Brennock\Merivane')
grep -qxF '"InstallDate"="12/9/2026 9:41:07 PM"' <<<"$machine" || fail "install date not from MERIVANE_NOW"

# A damaged store is moved aside with one message, and the program still starts.
printf 'garbage' > "$MERIVANE_HOME/registry.sqlite"
err=$("$merivane" /? 2>&1 >/dev/null)
[ "$(grep -c 'damaged' <<<"$err")" = 1 ] || fail "expected one message about the damaged store, got: $err"
ls "$MERIVANE_HOME"/registry.sqlite.damaged-* >/dev/null || fail "damaged store not kept"

# A change that shows a theme's logo, with a DISPLAY whose server is gone (a check started
# from cron after the session ended), completes: no window is tried.
themes=$MERIVANE_HOME/drive_c/WINDOWS/Resources/Themes
printf 'P3\n1 1\n255\n0 0 128\n' >"$themes/Logo.ppm"
printf '[Logos]\r\nStartup=%%ThemeDir%%Logo.ppm\r\n' >"$themes/Christmas Logo.theme"
printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Brennock\\Merivane\\Setup]\n"ShowChangeLogo"="True"\n"FilesToUse"=dword:00000000\n' \
    >"$home/logo.reg"
"$merivanectl" reg import "$home/logo.reg" || fail "import of the logo setting"
out=$(DISPLAY=:987 MERIVANE_NOW=2026-12-24T09:00 "$merivane" /n 2>/dev/null) || fail "a change with a stale DISPLAY exited $?"
[ "$out" = "Changed to Christmas Logo.theme (Regular event)" ] || fail "a change with a stale DISPLAY: $out"

"$merivane" /u || fail "merivane /u exited $?"
"$merivanectl" reg export 'HKCU\Software\Brennock\Merivane' 2>/dev/null && fail "per-user key still there after /u"
echo "cli first run: ok"
