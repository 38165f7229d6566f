# Shared by the scripts: finding the tree, installing missing Debian packages.

TOP=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# install_missing PACKAGE...: installs the packages that are not installed
# yet, when running as root; otherwise names them and fails.
install_missing() {
  local missing=() package
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
      missing+=("$package")
  done
  [ ${#missing[@]} = 0 ] && return 0
  if [ "$(id -u)" != 0 ]; then
    echo "missing packages: ${missing[*]} (install them, or run as root)" >&2
    return 1
  fi
  echo "installing ${missing[*]}"
  if ! { apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"; } \
    >/tmp/kestro-apt.log 2>&1; then
    tail -20 /tmp/kestro-apt.log >&2
    return 1
  fi
}

# build DIR [CMAKE ARGS...]: configures and builds quietly; shows the log on
# failure.
build() {
  local dir=$1
  shift
  if ! { cmake -S "$TOP" -B "$dir" "$@" && cmake --build "$dir" -j2; } >"$dir.log" 2>&1; then
    tail -40 "$dir.log" >&2
    echo "build in $dir failed (log: $dir.log)" >&2
    return 1
  fi
}
