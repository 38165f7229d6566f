# The end-to-end table, read by run.sh: one row per case.
#   row NAME FIXTURE STATUS STDOUT STDERR -- ARGS...
# FIXTURE is shell run in the row's empty directory (helpers: mk, stamp,
# bytes); STDOUT and STDERR are exact, written with plain line feeds. @DIR@
# in ARGS is the row's directory as a drive path (z:\tmp\...), and @dir@ in
# STDOUT and STDERR the same in lower case.

USAGE='
usage:- kestro [-d#] [-h] [-t] file1 file2
        -d0  Errorlevel only
        -d1  Display bad compares only
        -d2  Display all compares
        -dd  List mode: list files that differ
        -dm  List mode: list files missing from dest
        -d+  List mode: combines -dd and -dm
        -h   Include hidden files
        -t   Check timestamp
'

# ----- The command line ------------------------------------------------------

row "usage: no arguments" "" 255 '' "$USAGE" --
row "usage: one item" "" 255 '' "$USAGE" -- a
row "usage: three items" "" 255 '' "$USAGE" -- a b c
row "usage: /?" "" 255 '' "$USAGE" -- '/?'
row "usage: --help" "" 255 '' "$USAGE" -- --help
row "usage: a/t,b" "" 255 '' "$USAGE" -- a/t,b
row "usage: trailing comma then item" "" 255 '' "$USAGE" -- a, b
row "usage: -d3" "" 255 '' "$USAGE" -- -d3 a b
row "usage: -dx" "" 255 '' "$USAGE" -- -dx a b
row "usage: lone -d" "" 255 '' "$USAGE" -- a b -d
row "usage: -dd1" "" 255 '' "$USAGE" -- -dd1 a b
row "usage: -t1" "" 255 '' "$USAGE" -- -t1 a b
row "usage: a,b c" "" 255 '' "$USAGE" -- a,b c

PAIR='mk a same; mk b same; stamp "2024-01-01 12:00" a b'
row "two files" "$PAIR" 0 'a - b > OK
' '' -- a b
row "comma-joined items and joined switches" "$PAIR" 0 '' '' -- a,b -d1t
row "-ht" "$PAIR" 0 'a - b > OK
' '' -- -ht a b
row "-t-h /D2" "$PAIR" 0 'a - b > OK
' '' -- -t-h /D2 a b
row "lone dash and empty word" "$PAIR" 0 'a - b > OK
' '' -- - "" a b
row "a switch inside an item" "$PAIR" 0 'a - b > OK
' '' -- a/d2 b
row "empty destination item" "mk a x" 1 'a -  >  NOT FOUND
' '' -- a,
row "quoted item keeps its comma" "mk a,b x; mk c x" 0 'a,b - c > OK
' '' -- '"a,b"' c

# ----- Source selection ------------------------------------------------------

row "no files for a wildcard" "mk work/a x" 254 '' 'kestro: no files found for "work\*.xyz"
' -- 'work\*.xyz' save
row "no files: trailing backslash is not completed" "mk work/a x" 254 '' 'kestro: no files found for "work\.*"
' -- 'work\' save
row "no files: missing item is lowered" "" 254 '' 'kestro: no files found for "nowhere.*"
' -- NOWHERE save
row "only subdirectories" "mkdir -p work/one work/two save" 0 '' '' -- work save
row "subdirectories are never compared" "mk work/a x; mkdir -p work/sub save/sub; mk save/a x" 0 'work\a - save\a > OK
' '' -- work save

MANY='mkdir work save; for i in $(seq -w 1 120); do echo $i >work/f$i; echo $i >save/f$i; mkdir work/d$i; done
      echo 999 >save/f051'
MANY_OUT=$(for i in $(seq -w 1 120); do
  [ "$i" = 051 ] && r=ERROR || r=OK
  printf 'work\\f%s - save\\f%s > %s\n' "$i" "$i" "$r"
done)
row "120 files in batches keep the search order" "$MANY" 1 "$MANY_OUT
" '' -- work save

# ----- Comparing pairs -------------------------------------------------------

SET='mk work/c abc; mk save/c abd; mk work/m m; mkdir -p save; mk work/s same; mk save/s same;
     mk work/z 1234; mk save/z 12'
row "compare display, level 2" "$SET" 1 'work\c - save\c > ERROR
work\m - save\m > SAVE\M NOT FOUND
work\s - save\s > OK
work\z - save\z > SIZE DIFF
' '' -- work save
row "compare display, level 1" "$SET" 1 'work\c - save\c > ERROR
work\m - save\m > SAVE\M NOT FOUND
work\z - save\z > SIZE DIFF
' '' -- work save -d1
row "level 0 prints nothing" "$SET" 1 '' '' -- work save -d0
row "list differing" "$SET" 1 'work\c
work\z
' '' -- work save -dd
row "list missing" "$SET" 1 'work\m
' '' -- work save -dm
row "list both" "$SET" 1 'work\c
work\m
work\z
' '' -- work save -d+
row "list mode at level 0" "$SET" 1 '' '' -- work save -d0 -dd
row "level switch after list switch" "$SET" 1 'work\c - save\c > ERROR
work\m - save\m > SAVE\M NOT FOUND
work\z - save\z > SIZE DIFF
' '' -- work save -dd -d1
row "identical sets" "mk work/a 1; mk work/b 2; mk save/a 1; mk save/b 2" 0 '' '' -- work save -d1
row "identical sets, list mode" "mk work/a 1; mk save/a 1" 0 '' '' -- work save -d+

TIMES='mk work/same x; mk save/same x; stamp "2020-01-01 10:00" work/same;
       stamp "2020-01-01 11:00" save/same;
       mk work/diff x; mk save/diff y; stamp "2020-01-01 10:00" work/diff;
       mk work/gone x'
row "times ignored without -t" "$TIMES" 1 'work\diff - save\diff > ERROR
work\gone - save\gone > SAVE\GONE NOT FOUND
work\same - save\same > OK
' '' -- work save
row "times with -t" "$TIMES" 1 'work\diff - save\diff > ERROR
work\gone - save\gone > SAVE\GONE NOT FOUND
work\same - save\same > DATE/TIME DIFF
' '' -- work save -t
row "-t with equal times" "mk work/a x; mk save/a x; stamp '2021-05-05 05:05' work/a save/a" 0 'work\a - save\a > OK
' '' -- -t work save

row "absolute drive paths are lowered" "mk Work/Notes.txt n; mk Save/notes.TXT n" 0 '@dir@\work\notes.txt - @dir@\save\notes.txt > OK
' '' -- '@DIR@\Work' '@DIR@\Save' -d2
row "absolute drive path, renaming pattern" "mk Work/A.txt n; mk Save/a.bak n" 0 '@dir@\work\a.txt - @dir@\save\a.bak > OK
' '' -- '@DIR@\Work\*.TXT' '@DIR@\Save\*.BAK'
row "stored names in any case" "mk Work/Notes.TXT n; mk save/NOTES.txt n" 0 'work\notes.txt - save\notes.txt > OK
' '' -- work save
row "upper-case items are lowered" "mk Work/Notes.TXT n; mk Save/NOTES.txt n" 0 'work\notes.txt - save\notes.txt > OK
' '' -- WORK SAVE
row "wildcard source, directory destination" "mk work/a.txt t; mk work/b.doc d; mk save/a.txt t" 0 'work\a.txt - save\a.txt > OK
' '' -- 'work\*.txt' save
row "renaming destination" "mk work/a.txt t; mk work/b.txt u; mk save/a.bak t; mk save/b.bak x" 1 'work\a.txt - save\a.bak > OK
work\b.txt - save\b.bak > ERROR
' '' -- 'work\*.txt' 'save\*.bak'
row "single file against a directory" "mk notes.txt n; mk save/notes.txt n" 0 'notes.txt - save\notes.txt > OK
' '' -- notes.txt save
posix_only "every drive prefix names the one file system; on Windows C: is another drive"
row "drive prefix on relative items" "mk work/a x; mk save/a x" 0 'c:work\a - d:save\a > OK
' '' -- 'C:work' 'D:save'

# ----- Contents --------------------------------------------------------------

row "one full block" "bytes work/f 65024; bytes save/f 65024" 0 'work\f - save\f > OK
' '' -- work save
row "three and a half blocks, last byte differs" \
  "bytes work/f 227584; bytes save/f 227583; printf y >>save/f" 1 'work\f - save\f > ERROR
' '' -- work save
row "empty files" "mk work/e; mk save/e" 0 'work\e - save\e > OK
' '' -- work save
row "first byte differs" "bytes work/f 100000; mkdir save; { printf y; head -c 99999 work/f; } >save/f" 1 'work\f - save\f > ERROR
' '' -- work save

posix_only "reads /proc"
row "read failure shows the pair twice" "mkdir work save; ln -s /proc/version work/p; mk save/p" 255 'work\p - save\p > work\p - save\p > FILE READ ERROR
' '' -- work save
posix_only "reads /proc"
row "read failure at level 1" "mkdir work save; ln -s /proc/version work/p; mk save/p" 255 'work\p - save\p > FILE READ ERROR
' '' -- work save -d1
posix_only "reads /proc"
row "level 0 stops before a later read failure" "mk work/a 1; mk save/a 2; ln -s /proc/version work/p; mk save/p" 1 '' '' -- work save -d0
posix_only "reads /proc"
row "read failure in list mode" "mkdir work save; ln -s /proc/version work/p; mk save/p" 255 'work\p - save\p > FILE READ ERROR
' '' -- work save -dd

# ----- Mended faults ---------------------------------------------------------

row "sizes that differ by 4 GiB" "mk work/big 12345; truncate -s 4294967301 work/big; mk save/big 12345" 1 'work\big - save\big > SIZE DIFF
' '' -- work save
row "times after 2038 are kept" "mk work/a x; mk save/a x; stamp '2040-01-01 10:00' work/a; stamp '2040-01-01 11:00' save/a" 1 'work\a - save\a > DATE/TIME DIFF
' '' -- -t work save
row "times before 1970 are kept" "mk work/a x; mk save/a x; stamp '1960-01-01 10:00' work/a; stamp '1960-01-01 11:00' save/a" 1 'work\a - save\a > DATE/TIME DIFF
' '' -- -t work save
posix_only "/dev/full"
stdout_to /dev/full
row "standard output cannot be written" "$SET" 255 '' 'kestro: write error on standard output
' -- work save

# ----- What counts as a file ---------------------------------------------------

posix_only "FIFOs"
row "FIFO as destination" "mk work/f x; mkdir save; mkfifo save/f" 1 'work\f - save\f > SAVE\F NOT FOUND
' '' -- work save
posix_only "FIFOs"
row "FIFO in the source is not listed" "mk work/a x; mkfifo work/f; mk save/a x; mk save/f x" 0 'work\a - save\a > OK
' '' -- work save
row "directory destination, empty source" "mk work/d; mkdir -p save/d" 1 'work\d - save\d > SAVE\D NOT FOUND
' '' -- work save
row "directory destination, non-empty source" "mk work/d x; mkdir -p save/d" 1 'work\d - save\d > SIZE DIFF
' '' -- work save
posix_only "symbolic links"
row "links are followed" "mk real x; mkdir work save; ln -s ../real work/l; ln -s ../real save/l" 0 'work\l - save\l > OK
' '' -- work save

LONG=aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa
posix_only "Windows' ANSI file functions stop at 259 characters"
row "paths longer than 259 characters" "mk work/$LONG/$LONG/$LONG x; mk save/$LONG/$LONG/$LONG x" 0 "work\\$LONG\\$LONG\\$LONG - save\\$LONG\\$LONG\\$LONG > OK
" '' -- "work\\$LONG\\$LONG\\$LONG" "save\\$LONG\\$LONG"

# ----- Faults and awkward inputs ------------------------------------------------

posix_only "symbolic links"
row "links that lead nowhere" "mk work/a x; ln -s loop work/loop; ln -s nowhere work/dangling; mkdir save;
    ln -s a save/a; ln -s nowhere save/dangling" 1 'work\a - save\a > SAVE\A NOT FOUND
' '' -- work save
posix_only "symbolic links"
row "links to directories" "mkdir dir work save; ln -s ../dir work/ld; mk work/e; mk work/x x; ln -s ../dir save/e;
    ln -s ../dir save/x" 1 'work\e - save\e > SAVE\E NOT FOUND
work\x - save\x > SIZE DIFF
' '' -- work save
posix_only "sockets and devices"
row "socket and device destinations" "mk work/s x; mk work/n; mkdir save; ln -s /dev/null save/n;
    perl -MIO::Socket::UNIX -e 'IO::Socket::UNIX->new(Local => \"save/s\", Listen => 1) or die'" 1 'work\n - save\n > SAVE\N NOT FOUND
work\s - save\s > SAVE\S NOT FOUND
' '' -- work save
posix_only "sockets and devices"
row "a device as the source" "" 254 '' 'kestro: no files found for "\dev\null.*"
' -- '\dev\null' save
posix_only "sockets"
row "a socket in the source is not listed" "mk work/a x; mk save/a x;
    perl -MIO::Socket::UNIX -e 'IO::Socket::UNIX->new(Local => \"work/s\", Listen => 1) or die'" 0 '' '' -- work save -d1

row "blanks, commas and dashes in names" "mk 'work/my file' 1; mk 'work/a,b' 2; mk work/-x 3; mk 'save/my file' 1; mk 'save/a,b' 2; mk save/-x 3" 0 'work\-x - save\-x > OK
work\a,b - save\a,b > OK
work\my file - save\my file > OK
' '' -- work save
posix_only "names are bytes; Windows' ANSI code page would turn them into other characters"
row "only ASCII letters fold" "mk 'work/Café.txt' 1; mk 'save/CAFé.TXT' 1; mk work/É.txt 2; mk save/é.txt 2" 1 'work\café.txt - save\café.txt > OK
work\É.txt - save\É.txt > SAVE\É.TXT NOT FOUND
' '' -- work save
posix_only "names are bytes; Windows' ANSI code page would turn them into other characters"
row "invalid UTF-8 in names" "mk work/$'\xff\xfe' 1; mk save/$'\xff\xfe' 1" 0 "work\\"$'\xff\xfe'" - save\\"$'\xff\xfe'" > OK
" '' -- work save
N255=$(printf 'n%.0s' $(seq 255))
row "255-byte names" "mk work/$N255 1; mk save/$N255 1" 0 "work\\$N255 - save\\$N255 > OK
" '' -- work save
posix_only "a backslash cannot be part of a Windows name"
row "a name holding a backslash is reported" "mk 'work/a\\b' 1; mk 'save/a\\b' 1; mk work/c 2; mk save/c 2" 1 'work\a\b - save\a\b > WORK\A\B NOT FOUND
work\c - save\c > OK
' '' -- work save

D200=$(printf 'd%.0s' $(seq 200))
DEEP=$(printf "\\\\$D200%.0s" $(seq 25))
posix_only "Windows' ANSI file functions stop at 259 characters"
row "paths longer than 4,096 bytes" "for side in work save; do (mkdir \$side && cd \$side &&
    for i in \$(seq 25); do mkdir $D200 && cd $D200 || exit 1; done && echo x >f); done" 0 "work$DEEP\\f - save$DEEP\\f > OK
" '' -- "work$DEEP\\f" "save$DEEP"

posix_only "slow under Wine"
row "a source directory of 100,000 files" "mkdir work save; for i in \$(seq 100000); do : >work/f\$i; : >save/f\$i; done" 0 '' '' -- work save -d1

posix_only "SIGPIPE"
stdout_pipe "head -c 1"
row "a reader that closes the pipe early" "mkdir work save; for i in \$(seq 3000); do : >work/f\$i; : >save/f\$i; done" 141 'w' '' -- work save
