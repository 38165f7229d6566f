#!/usr/bin/env bash
# kestro writes and changes nothing: runs it under strace over a fixture with
# every outcome and fails on any call that could create, write, truncate,
# rename or remove a file.
set -u
KESTRO=${KESTRO:?set KESTRO to the program to test}
dir=$(mktemp -d "${TMPDIR:-/tmp}/kestro-readonly.XXXXXX")
trap 'rm -rf "$dir"' EXIT
cd "$dir" || exit 1
mkdir work save
printf same >work/same; printf same >save/same
printf abc >work/content; printf abd >save/content
printf 1234 >work/size; printf 12 >save/size
printf x >work/missing
printf t >work/time; printf t >save/time; touch -d 2020-01-01 save/time
ln -s /proc/version work/unreadable; : >save/unreadable

calls=open,openat,openat2,creat,truncate,ftruncate,rename,renameat,renameat2,unlink,unlinkat
calls=$calls,mkdir,mkdirat,rmdir,link,linkat,symlink,symlinkat,chmod,fchmodat,utimensat
for args in "work save -t" "work save -d+" "work save -dm -t"; do
  # Leak checking cannot run under ptrace; it has its own test run.
  ASAN_OPTIONS=detect_leaks=0 strace -f -qq -o "$dir/trace" -e trace="$calls" "$KESTRO" $args >/dev/null 2>&1
  status=$?
  if [ $status != 1 ] && [ $status != 255 ]; then
    echo "kestro $args: unexpected status $status"
    exit 1
  fi
  # A file can be written only through a descriptor opened for writing, so
  # every open must be for reading only.
  bad=$(grep -E 'O_WRONLY|O_RDWR|O_CREAT|O_TRUNC|^[0-9]+ +(creat|truncate|ftruncate|rename|unlink|mkdir|rmdir|link|symlink|chmod|fchmodat|utimensat)' "$dir/trace")
  if [ -n "$bad" ]; then
    echo "kestro $args made calls that could change files:"
    echo "$bad"
    exit 1
  fi
  grep -q 'openat(.*"work/same"' "$dir/trace" || { echo "the trace shows no comparison"; exit 1; }
done
echo "read-only: no call could change a file"
