# Shared by scripts/run, scripts/test and scripts/bench: sourced, not run.
VQ_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
VQ_JOBS=$(nproc 2>/dev/null || echo 2)
# ccache rewrites paths below the checkout, so another clone of the tree on this machine (CI's)
# finds what this one compiled.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$VQ_ROOT}"

# Installs the packages of scripts/packages.txt (plus any given) that are missing.
vq_install_packages() {
  local wanted missing=()
  wanted=$(grep -v -E '^\s*(#|$)' "$VQ_ROOT/scripts/packages.txt")
  for pkg in $wanted "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages: ${missing[*]}" >&2
    echo "Install them (sudo apt-get install ${missing[*]}) or run this script as root." >&2
    return 1
  fi
  echo "Installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# How build/ is configured by scripts/run, scripts/test and scripts/bench alike, so that each reuses
# what the others compiled. Line tables only (-g1): backtraces and debuggers still name the line,
# at a quarter less compile time than full debug information. A unity build: each target's files
# are compiled a few at a time as one, which shares the work on the headers and templates they
# have in common, half the compile time of file by file.
VQ_BUILD_ARGS=(-DCMAKE_BUILD_TYPE=RelWithDebInfo "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG"
  -DCMAKE_UNITY_BUILD=ON)

# Configures and builds into the given folder; further arguments go to cmake.
vq_build() {
  local dir=$1; shift
  cmake -S "$VQ_ROOT" -B "$dir" "${VQ_BUILD_ARGS[@]}" "$@" >/dev/null
  cmake --build "$dir" -j "$VQ_JOBS"
}

# Builds only the given targets in the folder scripts/test uses, configured the same way, so that
# a later scripts/test compiles nothing twice.
vq_build_targets() {
  local dir=$1; shift
  cmake -S "$VQ_ROOT" -B "$dir" "${VQ_BUILD_ARGS[@]}" >/dev/null
  cmake --build "$dir" -j "$VQ_JOBS" --target "$@"
}
