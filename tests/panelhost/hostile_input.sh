#!/usr/bin/env bash
# panelhost against hostile input, as a new user would try it: files it cannot write, panels
# that place thousands of gauges, modules that are not what their names say, inputs that are no
# files, runs without end, panel files with several windows and repeated lines, bad numbers.
# Usage: hostile_input.sh PANELHOST RADIOS_GAU WORKDIR SANITIZED
#
# One row per case: its name, the exit status, a bound, a fragment of what panelhost says, the
# command (run from WORKDIR; $P is panelhost, $G the shipped i686 radios.gau) and, after that,
# file patterns that must match nothing afterwards. The bound is a peak memory (64MB, measured with
# /usr/bin/time), a time (10s), `limit` for a command run under a memory limit of its own, or -.
# Fragments joined by " && " must all hold; one starting with ! must not be said. Memory rows are skipped in a sanitized build,
# whose shadow memory is no measure of panelhost's.
set -uo pipefail
P=$1
G=$2
W=$3
sanitized=$4

rm -rf "$W" && mkdir -p "$W" && cd "$W" || exit 1
failed=0
count=0
skipped=0

row() {
  local name=$1 status=$2 bound=$3 fragment=$4 command=$5 gone=${6:-}
  count=$((count + 1))
  if [ "$sanitized" = ON ] && [[ $bound == *MB || $bound == limit ]]; then
    echo "skip  $name (memory, sanitized build)"
    skipped=$((skipped + 1))
    return
  fi
  local out started elapsed got rss=""
  started=$(date +%s%N)
  if [[ $bound == *MB ]]; then
    out=$(/usr/bin/time -f 'peak-kb %M' timeout 60 bash -c "$command" 2>&1)
    got=$?
    rss=$(sed -n 's/^peak-kb //p' <<<"$out" | tail -n1)
  else
    out=$(timeout 60 bash -c "$command" 2>&1)
    got=$?
  fi
  elapsed=$((($(date +%s%N) - started) / 1000000))
  local wrong=""
  [ "$got" -eq "$status" ] || wrong+=" exit status $got, expected $status;"
  local said
  while [ -n "$fragment" ]; do
    said=${fragment%% && *}
    [[ $fragment == *" && "* ]] && fragment=${fragment#* && } || fragment=""
    if [[ $said == !* ]]; then
      ! grep -qF -- "${said#!}" <<<"$out" || wrong+=" said ${said#!};"
    else
      grep -qF -- "$said" <<<"$out" || wrong+=" did not say: $said;"
    fi
  done
  case $bound in
    *MB) [ "${rss:-0}" -le $((${bound%MB} * 1024)) ] || wrong+=" peak memory ${rss} KB, over $bound;" ;;
    *s) [ "$elapsed" -le $((${bound%s} * 1000)) ] || wrong+=" took $elapsed ms, over $bound;" ;;
  esac
  local pattern
  for pattern in $gone; do
    if compgen -G "$pattern" >/dev/null; then wrong+=" left $(compgen -G "$pattern" | head -n1);"; fi
  done
  if [ -n "$wrong" ]; then
    echo "FAIL  $name:$wrong"
    sed 's/^/      | /' <<<"$out" | head -n 12
    failed=$((failed + 1))
  else
    echo "ok    $name (${elapsed} ms${rss:+, $((rss / 1024)) MB})"
  fi
}
export P G

# The inputs the rows use.
python3 - <<'EOF'
names = ["Com1Nav1", "Transponder", "ADF"]
def panel(file, count, size="size_mm=1024,768"):
    lines = ["[Window00]", size] + [
        f"gauge{i:05d}=radios!{names[i % 3]}, {(i * 37) % 800}, {(i * 53) % 600}, {200 + (i % 7) * 30}"
        for i in range(count)]
    open(file, "w").write("\n".join(lines) + "\n")
panel("ten-thousand.cfg", 10000)
panel("one-too-many.cfg", 10001)
panel("largest.cfg", 1, "size_mm=8192,8192")
EOF
printf 'render /dev/full\n' >render-full.scn
printf 'rate 1000\nadvance 86400000\n' >a-day.scn
printf '[Window00]\ngauge00=radios!ADF, 0, 0\ngauge00=radios!Transponder, 0, 0\n' >twice.cfg
printf '[Window00]\ngauge00=radios!ADF, 0, 0\n[WINDOW00]\ngauge01=radios!ADF, 0, 0\n' >section-twice.cfg
printf '[Window Titles]\nWindow00=Main\nWindow01=Radio stack\n[Window00]\ngauge00=radios!Com1Nav1, 0, 0\n[Window01]\ngauge00=radios!ADF, 0, 0\n' >windows.cfg
printf 'panel windows.cfg\nclick Transponder 1 1\n' >windows.scn
mkfifo silent.scn silent.cfg silent.so silent.png
mkdir folder.scn res res/folder.bmp
ln -s loop.scn loop.scn
printf '4096 BITMAP "folder.bmp"\n' >res/radios.rc
cp "$(dirname "$P")/radios.so" evil.gau
printf '[Window00]\n' >text.so
if [ -f "$G" ]; then
  cp "$G" dll.so
  # The gauge table's first entry pointed outside the image: the entries are the gauges'
  # addresses, one after the other, as info lists them.
  "$P" info --module "$G" | sed -n 's/^gauge "[^"]*" at \(0x[0-9A-F]*\).*/\1/p' >gauges.txt
  python3 - <<'EOF'
import struct
table = b"".join(struct.pack("<I", int(a, 16)) for a in open("gauges.txt").read().split())
image = bytearray(open("dll.so", "rb").read())
at = image.find(table)
assert len(table) > 0 and at > 0, "no gauge table found in radios.gau"
struct.pack_into("<I", image, at, 0x10000000)
open("bad-table.gau", "wb").write(image)
EOF
else
  echo "$G is missing: build the mingw-i686 preset first (scripts/test builds every preset)"
  failed=$((failed + 1))
fi

# Every file written is whole or not there; a device is written, every write checked.
row render-to-full-device 2 - "/dev/full: cannot write the PNG file (No space left on device)" '$P render /dev/full'
row render-to-null-device 0 - "" '$P render /dev/null'
row scenario-render-to-full 2 - "render-full.scn:1: /dev/full: cannot write the PNG file (No space left on device)" '$P run render-full.scn'
row record-to-full-device 2 - "/dev/full: cannot write the recorded scenario (No space left on device)" '$P view --record /dev/full'
row render-past-file-limit 2 - "cut.png: cannot write the PNG file (File too large)" 'ulimit -f 1; $P render cut.png' 'cut.png .cut.png.*'
row render-into-no-folder 2 - "none/x.png: cannot write the PNG file (No such file or directory)" '$P render none/x.png'
row render-to-unread-fifo 2 10s "silent.png: cannot write the PNG file (a FIFO that nobody read for 5 s)" '$P render silent.png'
# Memory follows the panel's pixels, not its placements; running out of it is a message.
row ten-thousand-placements 0 64MB "" '$P render --panel ten-thousand.cfg ten.png'
row ten-thousand-emulated 0 64MB "" '$P render --panel ten-thousand.cfg --module $G ten.png'
row one-placement-too-many 2 - "one-too-many.cfg:10003: expected at most 10000 gauges in one window" '$P render --panel one-too-many.cfg x.png'
row out-of-memory 2 limit "out of memory" 'ulimit -v 150000; $P render --panel largest.cfg x.png' 'x.png .x.png.*'
row emulator-without-room 2 limit "reserves 1 GiB of address space" 'ulimit -v 800000; $P render --module $G x.png'
# Native code only from an ELF shared object named .so; a .gau never runs natively.
row elf-named-gau 2 - "evil.gau could not be loaded (it is an ELF shared object, not a Windows DLL" '$P info --module evil.gau'
row elf-named-gau-never-started 2 - "!calling init: ./evil.gau" 'LD_DEBUG=files $P info --module ./evil.gau'
row dll-named-so 2 - "dll.so could not be loaded (it is a Windows DLL, not an ELF shared object" '$P info --module dll.so'
row text-named-so 2 - "(it is neither an ELF shared object nor a Windows DLL: it starts with" '$P info --module text.so'
row gauge-table-outside-image 2 - "bad-table.gau, entry 0 of the gauge table in Linkage: its GAUGEHDR record at 0x10000000: cannot read" '$P info --module bad-table.gau'
# Inputs that are no files, or that never end.
row silent-fifo-script 2 10s "silent.scn: cannot read the scenario script (a FIFO or pipe that delivered nothing for 5 s)" '$P run silent.scn'
row silent-fifo-panel 2 10s "silent.cfg: cannot read the panel file (a FIFO or pipe that delivered nothing for 5 s)" '$P render --panel silent.cfg x.png'
row fifo-module 2 10s "silent.so could not be loaded (a FIFO, not a file)" '$P info --module silent.so'
row process-substitution 0 - "1 passed, 0 failed" '$P run <(echo "expect sim xpdr.code 1200")'
row standard-input 0 - "1 passed, 0 failed" 'echo "expect sim xpdr.code 1200" | $P run /dev/stdin'
row endless-pipe 2 10s "expected a scenario script of at most 1 MiB (1048576 bytes), got more" '$P run <(yes)'
row device-script 2 - "/dev/zero: cannot read the scenario script (a character device, not a file)" '$P run /dev/zero'
row folder-script 2 - "folder.scn: cannot read the scenario script (Is a directory)" '$P run folder.scn'
row missing-script 2 - "absent.scn: cannot read the scenario script (No such file or directory)" '$P run absent.scn'
row looping-link 2 - "loop.scn: cannot read the scenario script (Too many levels of symbolic links)" '$P run loop.scn'
row folder-bitmap 2 - "folder.bmp: cannot read the bitmap file (Is a directory)" '$P render --resources res x.png'
# A run without end is bounded, and says how far it got.
row timeout-run 2 10s "a-day.scn:2: stopped by --timeout 2.5 s at virtual time && !real time" '$P run a-day.scn --timeout 2.5'
row progress-on-terminal 2 10s "virtual time && of 86400.0 s && x real time" 'script -qec "$P run a-day.scn --timeout 2.5" /dev/null'
row timeout-render 2 10s "stopped by --timeout 0.2 s at virtual time 0 ms" '$P render --panel ten-thousand.cfg --timeout 0.2 t.png' 't.png .t.png.*'
# Every window is read; one is chosen; repeats are said.
row several-windows 0 - "windows.cfg: 2 windows place gauges ([Window00] \"Main\", [Window01] \"Radio stack\"); panelhost takes [Window00]" '$P render --panel windows.cfg w.png'
row window-by-title 2 - "expected a gauge on the panel (ADF), got \"Transponder\"" '$P run windows.scn --window "radio stack"'
row no-such-window 2 - "expected --window to name one of [Window00], got \"Window01\"" '$P info --window Window01'
row key-twice 0 - "twice.cfg:3: warning: gauge00 again in [Window00], first at line 2; panelhost keeps the first" '$P render --panel twice.cfg d.png'
row section-twice 0 - "section-twice.cfg:3: warning: [WINDOW00] again, first at line 1; panelhost reads the first" '$P render --panel section-twice.cfg d.png'
# Numbers state their range, and a minus sign is refused where negatives are.
row minus-zero 2 - "expected a count of update cycles, a whole number from 0 to 1000000, got \"-0\"" '$P run <(echo "update -0")'
row negative-event 2 - "expected an event id, a whole number from 0 to 4294967295, got \"-1\"" '$P run <(echo "expect event -1 0")'
row wheel-limit 2 - "expected a count of wheel events, a whole number from 0 to 1000000" '$P run <(echo "wheel ADF 1 1 up 1000001")'

echo "$((count - skipped - failed)) of $((count - skipped)) hostile inputs end as they should" \
  "($skipped skipped)"
[ "$failed" -eq 0 ]
