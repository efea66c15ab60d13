# Shared by the scripts that cross-build a library for Windows from Debian's own source package:
# installing tools, configuring deb-src entries and unpacking a source package under
# build/deps/src. Sourced, not run; the caller sets `root`.

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)

apt_install() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}"
}

# --- Source entries -------------------------------------------------------------------------
# apt-get source needs deb-src entries. We never name a mirror here: the entries are derived
# from the machine's own binary entries for this release, whatever mirror they point to.
codename=$( (. /etc/os-release && echo "${VERSION_CODENAME:-}") 2>/dev/null || true)
codename=${codename:-bookworm}
src_list=/etc/apt/sources.list.d/slidesaver-deb-src.sources

# True when a deb-src entry for this release is configured already.
has_deb_src() {
  grep -Eqs "^[[:space:]]*deb-src[[:space:]].*[[:space:]]$codename([[:space:]]|-)" \
    /etc/apt/sources.list /etc/apt/sources.list.d/*.list && return 0
  local f
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk -v release="$codename" '
      function flush() { if (src && wanted && !off) found = 1; src = 0; wanted = 0; off = 0 }
      /^[[:space:]]*$/ { flush(); next }
      /^Types:/ { for (i = 2; i <= NF; i++) if ($i == "deb-src") src = 1 }
      /^Enabled:/ { if ($2 == "no") off = 1 }
      /^Suites:/ { for (i = 2; i <= NF; i++) if ($i == release || index($i, release "-") == 1) wanted = 1 }
      END { flush(); exit found ? 0 : 1 }
    ' "$f" && return 0
  done
  return 1
}

# Prints deb822 stanzas of type deb-src for every enabled binary entry of this release.
derive_deb_src() {
  local f
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk -v release="$codename" '
      function flush() {
        if (is_deb && wanted && !off && stanza != "") printf "Types: deb-src\n%s\n", stanza
        stanza = ""; is_deb = 0; wanted = 0; off = 0
      }
      /^[[:space:]]*$/ { flush(); next }
      /^[[:space:]]*#/ { next }
      /^Types:/ { for (i = 2; i <= NF; i++) if ($i == "deb") is_deb = 1; next }
      /^Enabled:/ { if ($2 == "no") off = 1; next }
      /^Suites:/ {
        for (i = 2; i <= NF; i++) if ($i == release || index($i, release "-") == 1) wanted = 1
      }
      { stanza = stanza $0 "\n" }
      END { flush() }
    ' "$f"
  done
  # One-line entries: "deb [options] uri suite components...".
  local list
  for list in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$list" ] || continue
    awk -v release="$codename" '
      $1 != "deb" { next }
      {
        i = 2
        opts = ""
        if ($2 ~ /^\[/) { while (i <= NF && $i !~ /\]$/) { opts = opts " " $i; i++ } opts = opts " " $i; i++ }
        uri = $i; suite = $(i + 1)
        if (suite != release && index(suite, release "-") != 1) next
        comps = ""
        for (j = i + 2; j <= NF; j++) comps = comps " " $j
        signed = ""
        if (match(opts, /signed-by=[^] ]+/)) signed = substr(opts, RSTART + 10, RLENGTH - 10)
        printf "Types: deb-src\nURIs: %s\nSuites: %s\nComponents:%s\n", uri, suite, comps
        if (signed != "") printf "Signed-By: %s\n", signed
        printf "\n"
      }
    ' "$list"
  done
}

ensure_deb_src() {
  has_deb_src && return 0
  local entries
  entries=$(derive_deb_src)
  if [ -z "$entries" ]; then
    echo "no Debian $codename entries found in the apt sources to derive deb-src from" >&2
    exit 1
  fi
  echo "Adding deb-src entries to $src_list" >&2
  printf '%s\n' "$entries" | "${sudo_cmd[@]}" tee "$src_list" >/dev/null
  "${sudo_cmd[@]}" apt-get update -qq
}

# When the newest version cannot be fetched (a pocket whose files are not reachable from here),
# tries the others the source lists know of, newest first.
fetch_older_source() {
  local package=$1 version
  while read -r version; do
    apt-get source --download-only "$package=$version" >&2 && return 0
  done < <(apt-cache showsrc "$package" | sed -n 's/^Version: //p' | sort -Vru)
  echo "no version of the source package $package could be fetched" >&2
  return 1
}

# Unpacks the newest downloaded source package `package` into build/deps/src/<folder> (fetching
# it first when missing) and prints that folder. `marker` is a file the unpacked tree holds.
unpack_source_package() {
  local package=$1 folder=$2 marker=$3
  local src_root="$root/build/deps/src"
  mkdir -p "$src_root"
  (
    cd "$src_root"
    if ! ls "${package}"_*.dsc >/dev/null 2>&1; then
      ensure_deb_src
      if ! apt-get source --download-only "$package" >&2; then
        "${sudo_cmd[@]}" apt-get update -qq
        apt-get source --download-only "$package" >&2 || fetch_older_source "$package"
      fi
    fi
    local dsc
    dsc=$(ls "${package}"_*.dsc | sort -V | tail -n 1)
    if [ ! -f "$src_root/$folder/$marker" ]; then
      rm -rf "${src_root:?}/$folder"
      dpkg-source -x "$dsc" "$src_root/$folder" >&2
    fi
  )
  echo "$src_root/$folder"
}
