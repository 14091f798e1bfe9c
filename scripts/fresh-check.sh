#!/usr/bin/env bash
# Proves that the committed tree passes scripts/test.sh on a fresh Debian 12:
# it bootstraps a minimal bookworm root from this machine's own Debian mirror
# (the one its apt configuration names), clones HEAD into it and runs
# scripts/test.sh there as root in a chroot, so scripts/setup.sh has to install
# every build dependency itself. Needs root.
#
# The pristine root is cached as a tar file outside the tree, in
# $FRESH_CHECK_CACHE (default /var/cache/vantor-fresh-check); each run unpacks
# it into a new folder under $FRESH_CHECK_TMP (default /var/tmp) and deletes it
# afterwards. FRESH_CHECK_FUZZ_SECONDS (default 3) bounds each fuzz target.
# Where the system refuses the chroot or the mounts it says so in one line and
# exits 0; any other failure exits non-zero.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
suite=bookworm
variant=minbase
cache_dir="${FRESH_CHECK_CACHE:-/var/cache/vantor-fresh-check}"
cache="$cache_dir/$suite-root.tar"
tmp_base="${FRESH_CHECK_TMP:-/var/tmp}"
fuzz_seconds="${FRESH_CHECK_FUZZ_SECONDS:-3}"
chroot_path=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin

say() { echo "fresh-check: $*"; }
fail() {
  echo "fresh-check: $*" >&2
  exit 1
}
# The one line, and success, for where the system refuses the chroot or a mount.
refused() {
  say "skipped: $1"
  exit 0
}

# --- cleanup: every folder made here is torn down on every exit path --------

folders=()

# Prints the mount points at or below folder $1, deepest first.
mounts_under() {
  awk -v d="$1" '$5 == d || index($5, d "/") == 1 { print $5 }' /proc/self/mountinfo | sort -r
}

# Ends what still runs inside folder $1 (only processes started by this run
# can have their root there), unmounts everything below it, then deletes it.
# Returns non-zero, leaving the folder in place, if a mount cannot be removed.
teardown() {
  local dir="$1" pid link m
  [ -d "$dir" ] || return 0
  for pid in /proc/[0-9]*; do
    link="$(readlink "$pid/root" 2>/dev/null)" || continue
    if [ "$link" = "$dir" ] || [[ "$link" == "$dir"/* ]]; then
      kill -KILL "${pid#/proc/}" 2>/dev/null || true
    fi
  done
  for _ in 1 2 3 4 5; do
    m="$(mounts_under "$dir")"
    [ -z "$m" ] && break
    while read -r m; do
      umount "$m" 2>/dev/null || umount -l "$m" 2>/dev/null || true
    done <<<"$m"
  done
  if [ -n "$(mounts_under "$dir")" ]; then
    echo "fresh-check: could not unmount below $dir; left it in place" >&2
    return 1
  fi
  rm -rf --one-file-system "$dir"
}

on_exit() {
  local rc=$? dir
  for dir in "${folders[@]}"; do
    teardown "$dir" || rc=1
  done
  rm -f "$cache.partial.$$" "$tmp_base"/vantor-fresh-check.*.log.$$
  exit "$rc"
}
trap on_exit EXIT
trap 'exit 130' INT
trap 'exit 143' TERM HUP

# Makes a new folder for this run, in $folder, and registers it for cleanup
# (not in a subshell, so that the registration stays).
new_folder() {
  mkdir -p "$tmp_base"
  folder="$(mktemp -d "$tmp_base/vantor-fresh-check.XXXXXX")"
  folders+=("$folder")
  chmod 755 "$folder" # it becomes /, which apt's _apt user must traverse
}

# --- privilege: stop early, in one line, where the system says no -----------

[ "$(id -u)" -eq 0 ] || refused "it needs root to mount and chroot (run it as root)"
chroot / /bin/true 2>/dev/null || refused "the system refuses chroot here"
new_folder
probe="$folder"
if ! err="$(mount -t proc proc "$probe" 2>&1)"; then
  refused "the system refuses to mount /proc here (${err%%$'\n'*})"
fi
umount "$probe"
teardown "$probe"

# --- the machine's own Debian source -----------------------------------------

# Prints "URI SUITE" for every enabled deb entry of the apt sources.
apt_entries() {
  local f
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] || continue
    awk '$1 == "deb" {
      i = 2
      if ($i ~ /^\[/) { while (i <= NF && $i !~ /\]$/) i++; i++ }
      if (i + 1 <= NF) print $i, $(i + 1)
    }' "$f"
  done
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk '
      function flush(  n, m, i, j, u, s) {
        if ((" " v["types"] " ") ~ /[ \t]deb[ \t]/ && tolower(v["enabled"]) != "no") {
          n = split(v["uris"], u); m = split(v["suites"], s)
          for (i = 1; i <= n; i++) for (j = 1; j <= m; j++) print u[i], s[j]
        }
        delete v
      }
      /^[ \t]*#/ { next }
      /^[ \t]*$/ { flush(); next }
      /^[^ \t]/ { key = tolower($0); sub(/:.*/, "", key); val = $0; sub(/^[^:]*:/, "", val)
                  v[key] = val; next }
      { v[key] = v[key] " " $0 }
      END { flush() }' "$f"
  done
}

mirror="$(apt_entries | awk -v s="$suite" '$2 == s && !found { print $1; found = 1 }')"
host_suite=""
if grep -qx 'ID=debian' /etc/os-release 2>/dev/null; then
  host_suite="$(sed -n 's/^VERSION_CODENAME=//p' /etc/os-release)"
fi
if [ -z "$mirror" ] && [ -n "$host_suite" ]; then
  mirror="$(apt_entries | awk -v s="$host_suite" '$2 == s && !found { print $1; found = 1 }')"
fi
[ -n "$mirror" ] || fail "no Debian source for $suite in /etc/apt/sources.list(.d)"
mirror="${mirror%/}"

# A proxy apt is configured to use, for debootstrap too.
eval "$(apt-config shell http_proxy_apt Acquire::http::Proxy https_proxy_apt Acquire::https::Proxy)"
if [ -n "${http_proxy_apt:-}" ] && [ -z "${http_proxy:-}" ]; then export http_proxy="$http_proxy_apt"; fi
if [ -n "${https_proxy_apt:-}" ] && [ -z "${https_proxy:-}" ]; then export https_proxy="$https_proxy_apt"; fi

include=""
[[ "$mirror" == https:* ]] && include=ca-certificates

# --- the pristine root, cached -----------------------------------------------

stamp="suite=$suite variant=$variant include=$include mirror=$mirror format=2"

build_cache() {
  local dir
  if ! command -v debootstrap >/dev/null; then
    say "installing debootstrap"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap >/dev/null
  fi
  new_folder
  dir="$folder"
  say "bootstrapping $suite ($variant) from $mirror"
  debootstrap --variant="$variant" ${include:+--include="$include"} "$suite" "$dir" "$mirror" \
    >"$dir.log.$$" 2>&1 || {
    tail -n 30 "$dir.log.$$" >&2
    fail "debootstrap failed"
  }
  rm -f "$dir.log.$$"
  # Services never start inside the chroot.
  printf '#!/bin/sh\nexit 101\n' >"$dir/usr/sbin/policy-rc.d"
  chmod 755 "$dir/usr/sbin/policy-rc.d"
  # No package files or lists in the cache; apt's download folders belong to
  # its _apt user, as on an installed system.
  rm -f "$dir"/var/cache/apt/archives/*.deb "$dir"/var/lib/apt/lists/*_*
  apt_uid="$(awk -F: '$1 == "_apt" { print $3 }' "$dir/etc/passwd")"
  if [ -n "$apt_uid" ]; then
    install -d -o "$apt_uid" -g 0 -m 700 "$dir/var/cache/apt/archives/partial" "$dir/var/lib/apt/lists/partial"
  fi
  rm -f "$dir/etc/resolv.conf" "$dir/etc/hostname"
  mkdir -p "$cache_dir"
  tar -C "$dir" --numeric-owner -cf "$cache.partial.$$" .
  echo "$stamp" >"$cache.info"
  mv "$cache.partial.$$" "$cache"
  teardown "$dir"
}

mkdir -p "$cache_dir"
exec 9>"$cache_dir/lock"
flock 9
if [ ! -f "$cache" ] || [ "$(cat "$cache.info" 2>/dev/null)" != "$stamp" ]; then
  build_cache
else
  say "using the cached root $cache"
fi
flock -u 9
exec 9>&-

# --- a fresh copy of it, with the committed tree -----------------------------

new_folder
chroot_dir="$folder"
tar -C "$chroot_dir" --numeric-owner -xpf "$cache"

# apt inside uses the same sources as this machine (when it is on the same
# suite), their keyrings, its proxy; names resolve as here.
if [ "$host_suite" = "$suite" ]; then
  rm -f "$chroot_dir/etc/apt/sources.list" "$chroot_dir"/etc/apt/sources.list.d/*
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
    if [ -f "$f" ]; then cp "$f" "$chroot_dir$f"; fi
  done
  { cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources 2>/dev/null || true; } |
    sed -n 's/.*[Ss]igned-[Bb]y[:=][ \t]*\(\/[^] \t]*\).*/\1/p' | sort -u |
    while read -r key; do
      if [ -f "$key" ] && [ ! -e "$chroot_dir$key" ]; then
        mkdir -p "$(dirname "$chroot_dir$key")"
        cp "$key" "$chroot_dir$key"
      fi
    done
  for key in /etc/apt/trusted.gpg.d/*; do
    if [ -f "$key" ] && [ ! -e "$chroot_dir$key" ]; then cp "$key" "$chroot_dir$key"; fi
  done
else
  printf 'deb %s %s main\ndeb %s %s-updates main\n' "$mirror" "$suite" "$mirror" "$suite" \
    >"$chroot_dir/etc/apt/sources.list"
fi
if [ -n "${http_proxy_apt:-}" ]; then
  echo "Acquire::http::Proxy \"$http_proxy_apt\";" >>"$chroot_dir/etc/apt/apt.conf.d/90fresh-check-proxy"
fi
if [ -n "${https_proxy_apt:-}" ]; then
  echo "Acquire::https::Proxy \"$https_proxy_apt\";" >>"$chroot_dir/etc/apt/apt.conf.d/90fresh-check-proxy"
fi
for f in /etc/resolv.conf /etc/hosts; do
  if [ -f "$f" ]; then cp -L "$f" "$chroot_dir$f"; fi
done

commit="$(git -C "$root" rev-parse HEAD)"
if [ -n "$(git -C "$root" status --porcelain)" ]; then
  say "the worktree has uncommitted changes; they are not part of this check"
fi
git clone --quiet --no-hardlinks "$root" "$chroot_dir/root/vantor"
git -C "$chroot_dir/root/vantor" -c advice.detachedHead=false checkout --quiet --detach "$commit"
say "checking commit $(git -C "$root" log -1 --format='%h %s' "$commit")"

# --- mounts, then the test command inside -------------------------------------

mount_in() {
  local err
  if ! err="$(mount "$@" 2>&1)"; then
    if grep -qiE 'permission denied|not permitted|must be superuser|only root' <<<"$err"; then
      refused "the system refuses mount $* here (${err%%$'\n'*})"
    fi
    fail "mount $* failed: $err"
  fi
}
mount_in -t proc proc "$chroot_dir/proc"
mount_in -t sysfs sysfs "$chroot_dir/sys"
mount_in --rbind /dev "$chroot_dir/dev"
mount_in --make-rslave "$chroot_dir/dev"

start=$SECONDS
env_in=(HOME=/root PATH="$chroot_path" LANG=C.UTF-8 TERM=dumb FUZZ_SECONDS="$fuzz_seconds")
for v in http_proxy https_proxy no_proxy; do
  if [ -n "${!v:-}" ]; then env_in+=("$v=${!v}"); fi
done
# Runs a command of the tree as root inside the root, with a clean environment
# (and, once it is set, in the network namespace of $isolate).
isolate=()
in_chroot() {
  "${isolate[@]}" chroot "$chroot_dir" /usr/bin/env -i "${env_in[@]}" /bin/bash -c 'cd /root/vantor && exec "$@"' bash "$@"
}

# setup.sh installs what the build needs (from the network); test.sh then runs
# in a network namespace of its own, with only loopback, so its simulators
# cannot collide with anything else on this machine that listens on loopback.
say "running scripts/setup.sh in the chroot"
in_chroot scripts/setup.sh
if command -v ip >/dev/null && unshare --net true 2>/dev/null; then
  isolate=(unshare --net /bin/sh -c 'ip link set lo up && exec "$@"' sh)
else
  say "no network namespace here; the tests share this machine's loopback"
fi
say "running scripts/test.sh in the chroot"
in_chroot scripts/test.sh
say "scripts/test.sh passed on a fresh $suite in $(((SECONDS - start) / 60))m$(((SECONDS - start) % 60))s"
