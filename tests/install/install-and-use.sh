#!/usr/bin/env bash
# Installs the build into a fresh prefix and uses it as a host would, from the installed tree
# alone: each installed header compiles on its own and none of the platform's private headers is
# there; examples/burn-a-caption.cpp is built once with plain pkg-config flags and once through
# find_package, and both run against the installed libraries; the installed tool starts.
# Usage: install-and-use.sh CMAKE BUILD_DIR CXX SOURCE_DIR VERSION [HOST_CXXFLAGS]
# HOST_CXXFLAGS: what a host of this build needs besides the package's flags (a sanitized build's
# -fsanitize=...).
set -euo pipefail
cmake=$1 build=$2 cxx=$3 source=$4 version=$5 host_flags=${6:-}
fail() {
  echo "FAILED: $*"
  exit 1
}
# Nothing may come from the build tree or from the caller's search paths.
unset LD_LIBRARY_PATH CPATH CPLUS_INCLUDE_PATH LIBRARY_PATH PKG_CONFIG_PATH CMAKE_PREFIX_PATH
work=$PWD/install-and-use
rm -rf "$work"
mkdir -p "$work"
cd "$work"
prefix=$work/prefix
"$cmake" --install "$build" --prefix "$prefix" > /dev/null
echo "installed:"
(cd "$prefix" && find . ! -type d | sort)

include=$prefix/include/kelcaptioningui-$version
headers=$(cd "$include" && find . -name '*.h' | sed 's|^\./||' | sort)
for header in $headers; do
  echo "#include <$header>" | "$cxx" -std=c++20 -fsyntax-only -x c++ -I"$include" - ||
    fail "$header does not compile from the installed tree alone"
done
for private in $(cd "$source/platform" && find . -name '*.h' | sed 's|^\./||'); do
  if [[ -e $include/$private ]]; then fail "the platform's private header $private is installed"; fi
done
echo "$(wc -w <<< "$headers") installed headers, each compiling on its own"

# A host that asks pkg-config. The libraries must be the installed ones.
export PKG_CONFIG_PATH=$(dirname "$(find "$prefix" -name kelcaptioningui.pc)")
[[ $(pkg-config --modversion kelcaptioningui) == "$version" ]] || fail "pkg-config gives another version"
# shellcheck disable=SC2046,SC2086  # the flags are meant to split into words
"$cxx" $(pkg-config --cflags --libs kelcaptioningui) $host_flags \
  "$source/examples/burn-a-caption.cpp" -o pkg-config-host
loads=$(ldd ./pkg-config-host)
[[ $loads == *"libkelcaptioningui.so.0 => $prefix/"* ]] || fail "the host does not load the installed library: $loads"
echo "pkg-config host:"
./pkg-config-host

# A host that asks CMake.
"$cmake" -S "$source/examples" -B cmake-host -G Ninja -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_CXX_COMPILER="$cxx" \
  -DCMAKE_CXX_FLAGS="$host_flags" > /dev/null
"$cmake" --build cmake-host > /dev/null
echo "find_package host:"
cmake-host/burn-a-caption

# The installed tool finds its libraries from where it is.
"$prefix/bin/kelcaption" --version || fail "the installed kelcaption does not start"
