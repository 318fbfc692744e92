#!/usr/bin/env bash
# Builds the image decoders bundled into Velumar.exe from Debian's source packages, pinned in
# scripts/decoders.pins: each is fetched with a private apt configuration (the machine's own
# sources are left alone; apt checks every file against the signed index), unpacked with Debian's
# patches applied, and cross-built with mingw-w64 as a static, decoder-only library.
# They go into a cache outside the clone, one folder per pins, toolchain and script, which a
# second clone on the same machine reuses; the script prints that folder (the prefix, with
# include/, lib/ and licenses/). With the prefix present it does nothing else.
#   scripts/decoders.sh            builds when needed, then prints the prefix
#   scripts/decoders.sh --prefix   prints the prefix only
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
self=$root/scripts/decoders.sh
pins=$root/scripts/decoders.pins
toolchain=$root/cmake/mingw-w64.cmake
host=x86_64-w64-mingw32
cc=$host-gcc-posix
cxx=$host-g++-posix

key=$({
    cat "$pins" "$self" "$toolchain"
    "$cc" --version | head -n 1
    "$cxx" --version | head -n 1
} | sha256sum | cut -c1-16)
cache=${VELUMAR_DECODER_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/velumar-decoders}
prefix=$cache/$key

if [ "${1:-}" = --prefix ]; then
    echo "$prefix"
    exit 0
fi
if [ -d "$prefix" ]; then
    echo "$prefix"
    exit 0
fi

# Concurrent runs (two clones, CI beside a developer) wait for each other; the second finds the
# prefix made by the first.
mkdir -p "$cache"
exec 9>"$cache/.lock"
flock 9
if [ -d "$prefix" ]; then
    echo "$prefix"
    exit 0
fi
# What a killed run left behind.
rm -rf "$cache"/.build.*

started=$SECONDS
# Progress, with the time since the start and the processor time spent by the builds so far
# (which on a busy machine tells more than the time).
say() {
    local cpu
    times >"$work/times"
    cpu=$(tail -n 1 "$work/times" | awk '{ split($1, u, /[ms]/); split($2, s, /[ms]/)
        printf "%d", u[1] * 60 + u[2] + s[1] * 60 + s[2] }')
    echo "decoders: [$((SECONDS - started)) s, processor $cpu s] $*" >&2
}
work=$(mktemp -d "$cache/.build.XXXXXX")
trap 'rm -rf "$work"' EXIT
stage=$work/prefix
src=$work/src
logs=$work/logs
mkdir -p "$stage/include" "$stage/lib/pkgconfig" "$stage/licenses" "$src" "$logs"

# Runs a build step with its output in a log, shown only when it fails.
step() {
    local name=$1
    shift
    if ! "$@" >>"$logs/$name.log" 2>&1; then
        say "$name failed; the end of its log:"
        tail -n 40 "$logs/$name.log" >&2
        exit 1
    fi
}

# --- Sources: a private apt configuration with Debian's deb-src entries only.
declare -A version
while read -r name ver _; do
    case "$name" in '' | '#'*) continue ;; esac
    version[$name]=$ver
done <"$pins"

apt=$work/apt
mkdir -p "$apt/sourceparts" "$apt/lists/partial" "$apt/cache/archives/partial"
cat >"$apt/sourceparts/debian-src.sources" <<'EOF'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
cat >"$apt/apt.conf" <<EOF
Dir::Etc::sourcelist "/dev/null";
Dir::Etc::sourceparts "$apt/sourceparts";
Dir::Etc::preferencesparts "/dev/null";
Dir::State::lists "$apt/lists";
Dir::Cache "$apt/cache";
Dir::State::status "/var/lib/dpkg/status";
Debug::NoLocking "true";
APT::Sandbox::User "root";
EOF
export APT_CONFIG=$apt/apt.conf
say "fetching ${!version[*]}"
step apt apt-get update -q
requests=()
for name in "${!version[@]}"; do
    requests+=("$name=${version[$name]}")
done
(cd "$src" && step apt apt-get source --download-only -q "${requests[@]}")
for dsc in "$src"/*.dsc; do
    (cd "$src" && step unpack dpkg-source -x "$dsc")
done
# The folder a package unpacked into: NAME-UPSTREAMVERSION.
source_dir() {
    local upstream=${version[$1]#*:}
    echo "$src/$1-${upstream%-*}"
}

# --- Build settings shared by all.
export PKG_CONFIG_LIBDIR=$stage/lib/pkgconfig PKG_CONFIG_PATH=
cat >"$work/toolchain.cmake" <<EOF
include("$toolchain")
list(APPEND CMAKE_FIND_ROOT_PATH "$stage")
unset(CMAKE_CROSSCOMPILING_EMULATOR)
EOF
cmake_args=(
    -G Ninja -DCMAKE_TOOLCHAIN_FILE="$work/toolchain.cmake" -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG" -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG"
    -DCMAKE_INSTALL_PREFIX="$stage" -DCMAKE_INSTALL_LIBDIR=lib -DBUILD_SHARED_LIBS=OFF
    -DBUILD_TESTING=OFF
)
# Configures, builds and installs a CMake project: NAME [cmake options...].
cmake_build() {
    local name=$1 dir
    shift
    dir=$(source_dir "$name")
    say "building $name"
    step "$name" cmake -S "$dir" -B "$work/build/$name" "${cmake_args[@]}" "$@"
    step "$name" cmake --build "$work/build/$name" -j2
    step "$name" cmake --install "$work/build/$name"
}
# Copies a package's licence files into licenses/NAME/.
licenses() {
    local name=$1 dir file
    shift
    dir=$(source_dir "$name")
    mkdir -p "$stage/licenses/$name"
    for file in "$@"; do
        cp "$dir/$file" "$stage/licenses/$name/"
    done
    echo "${version[$name]}" >"$stage/licenses/$name/VERSION"
}

# --- libjpeg-turbo: the library alone (its tools are built only as far as the target needs).
name=libjpeg-turbo
dir=$(source_dir $name)
say "building $name"
step $name cmake -S "$dir" -B "$work/build/$name" "${cmake_args[@]}" -DENABLE_SHARED=OFF \
    -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_SIMD=ON -DREQUIRE_SIMD=ON
step $name cmake --build "$work/build/$name" -j2 --target jpeg-static
cp "$work/build/$name/libjpeg.a" "$stage/lib/"
cp "$work/build/$name/jconfig.h" "$dir/jpeglib.h" "$dir/jmorecfg.h" "$dir/jerror.h" \
    "$stage/include/"
licenses $name LICENSE.md README.ijg

# --- libwebp: the decoder and the demuxer (WebPAnimDecoder), no tools.
cmake_build libwebp -DWEBP_BUILD_ANIM_UTILS=OFF -DWEBP_BUILD_CWEBP=OFF -DWEBP_BUILD_DWEBP=OFF \
    -DWEBP_BUILD_GIF2WEBP=OFF -DWEBP_BUILD_IMG2WEBP=OFF -DWEBP_BUILD_VWEBP=OFF \
    -DWEBP_BUILD_WEBPINFO=OFF -DWEBP_BUILD_WEBPMUX=OFF -DWEBP_BUILD_LIBWEBPMUX=OFF \
    -DWEBP_BUILD_EXTRAS=OFF
# The encoder library is not bundled: the demuxer decodes with libwebpdecoder.
rm -f "$stage/lib/libwebp.a" "$stage/lib/pkgconfig/libwebp.pc"
licenses libwebp COPYING PATENTS

# --- dav1d (AV1, for AVIF through libheif).
name=dav1d
dir=$(source_dir $name)
cat >"$work/meson-cross.txt" <<EOF
[binaries]
c = '$cc'
cpp = '$cxx'
ar = '$host-ar'
strip = '$host-strip'
windres = '$host-windres'
nasm = 'nasm'

[host_machine]
system = 'windows'
cpu_family = 'x86_64'
cpu = 'x86_64'
endian = 'little'
EOF
say "building $name"
step $name meson setup "$work/build/$name" "$dir" --cross-file "$work/meson-cross.txt" \
    --prefix "$stage" --libdir lib -Ddefault_library=static -Doptimization=2 -Ddebug=false \
    -Db_ndebug=true -Denable_tools=false -Denable_tests=false -Denable_examples=false \
    -Denable_docs=false -Dbitdepths=8,16 -Denable_asm=true
step $name ninja -C "$work/build/$name" -j2
step $name meson install -C "$work/build/$name"
licenses $name COPYING

# --- libde265 (HEVC, for HEIC through libheif): the library alone.
cmake_build libde265 -DENABLE_SDL=OFF -DENABLE_DECODER=OFF -DENABLE_ENCODER=OFF
licenses libde265 COPYING

# --- libheif with libde265 and dav1d built in; no encoders, plug-ins or examples.
cmake_build libheif -DWITH_LIBDE265=ON -DWITH_LIBDE265_PLUGIN=OFF -DWITH_DAV1D=ON \
    -DWITH_DAV1D_PLUGIN=OFF -DWITH_X265=OFF -DWITH_AOM_DECODER=OFF -DWITH_AOM_ENCODER=OFF \
    -DWITH_RAV1E=OFF -DWITH_SvtEnc=OFF -DENABLE_PLUGIN_LOADING=OFF -DWITH_EXAMPLES=OFF
licenses libheif COPYING

# --- JPEG XL: brotli and highway first, then libjxl's decoder library.
if [ -n "${version[jpeg-xl]:-}" ]; then
    # brotli: its decoder's two static libraries only.
    name=brotli
    dir=$(source_dir $name)
    say "building $name"
    step $name cmake -S "$dir" -B "$work/build/$name" "${cmake_args[@]}" -DBROTLI_DISABLE_TESTS=ON
    step $name cmake --build "$work/build/$name" -j2 --target brotlidec-static
    cp "$work/build/$name/libbrotlidec-static.a" "$stage/lib/libbrotlidec.a"
    cp "$work/build/$name/libbrotlicommon-static.a" "$stage/lib/libbrotlicommon.a"
    cp -r "$dir/c/include/brotli" "$stage/include/"
    licenses $name LICENSE
    cmake_build highway -DHWY_ENABLE_TESTS=OFF -DHWY_ENABLE_EXAMPLES=OFF -DHWY_ENABLE_CONTRIB=OFF
    rm -f "$stage/lib/libhwy_test.a" "$stage/lib/pkgconfig/libhwy-test.pc"
    licenses highway LICENSE

    name=jpeg-xl
    dir=$(source_dir $name)
    say "building $name"
    # Only the decoder library (jxl_dec) is built. The configure step insists on lcms2 and
    # brotli's encoder, which only the encoder uses: it is told of stand-ins, never compiled
    # or linked.
    mkdir -p "$work/lcms2"
    echo '#define LCMS_VERSION 2140' >"$work/lcms2/lcms2.h"
    # JXL_STATIC_DEFINE: the API is not marked for export from a DLL, which would make
    # Velumar.exe export it.
    step $name cmake -S "$dir" -B "$work/build/$name" "${cmake_args[@]}" \
        -DCMAKE_CXX_FLAGS=-DJXL_STATIC_DEFINE -DJPEGXL_FORCE_SYSTEM_BROTLI=ON \
        -DJPEGXL_FORCE_SYSTEM_HWY=ON \
        -DJPEGXL_ENABLE_TOOLS=OFF -DJPEGXL_ENABLE_BENCHMARK=OFF -DJPEGXL_ENABLE_EXAMPLES=OFF \
        -DJPEGXL_ENABLE_MANPAGES=OFF -DJPEGXL_ENABLE_JNI=OFF -DJPEGXL_ENABLE_SJPEG=OFF \
        -DJPEGXL_ENABLE_OPENEXR=OFF -DJPEGXL_ENABLE_SKCMS=OFF -DJPEGXL_ENABLE_PLUGINS=OFF \
        -DJPEGXL_ENABLE_VIEWERS=OFF -DJPEGXL_ENABLE_DOXYGEN=OFF -DJPEGXL_ENABLE_TCMALLOC=OFF \
        -DJPEGXL_ENABLE_FUZZERS=OFF -DJPEGXL_ENABLE_COVERAGE=OFF -DJPEGXL_ENABLE_PROFILER=OFF \
        -DJPEGXL_ENABLE_TRANSCODE_JPEG=OFF -DJPEGXL_FORCE_SYSTEM_LCMS2=ON \
        -DLCMS2_INCLUDE_DIR="$work/lcms2" -DLCMS2_LIBRARY="$work/lcms2/liblcms2.a" \
        -DBROTLI_INCLUDE_DIR="$stage/include" -DBROTLIDEC_LIBRARY="$stage/lib/libbrotlidec.a" \
        -DBROTLICOMMON_LIBRARY="$stage/lib/libbrotlicommon.a" \
        -DBROTLIENC_LIBRARY="$work/lcms2/libbrotlienc.a"
    step $name cmake --build "$work/build/$name" -j2 --target jxl_dec-static
    cp "$work/build/$name/lib/libjxl_dec.a" "$stage/lib/"
    mkdir -p "$stage/include/jxl"
    cp "$dir"/lib/include/jxl/*.h "$work/build/$name"/lib/include/jxl/*.h "$stage/include/jxl/"
    licenses $name LICENSE PATENTS
fi

# Nothing but headers, static libraries, pkg-config files and licences stays.
rm -rf "$stage/bin" "$stage/share" "$stage/lib/cmake"
sed -i "s|$stage|$prefix|g" "$stage"/lib/pkgconfig/*.pc
mv "$stage" "$prefix"
say "built"
echo "$prefix"
