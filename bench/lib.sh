# Sourced by the bench scripts: the comparison tools and a timer.

# Installs libvips' and ImageMagick's command-line tools when missing (apt-get, idempotent).
bench_install_tools() {
    local missing=() p
    for p in libvips-tools imagemagick; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update -qq
    "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# The best wall time in milliseconds of BENCH_RUNS runs of a command (its output discarded).
bench_best_ms() {
    local best= start end ms
    for _ in $(seq "${BENCH_RUNS:-5}"); do
        start=$(date +%s%N)
        "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; return 1; }
        end=$(date +%s%N)
        ms=$(((end - start) / 1000000))
        if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then
            best=$ms
        fi
    done
    echo "$best"
}

bench_ratio() {
    awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'
}

# ImageMagick itself, not a stand-in that may come earlier on the PATH.
BENCH_CONVERT=/usr/bin/convert

# Builds the named Windows bench targets and starts the Wine environment (a private display and
# the kept prefix build/wine/bench); the caller's shell stops it at exit.
bench_start_wine() {
    scripts/install-deps.sh
    cmake -S . -B build/bench-windows --toolchain cmake/mingw-w64.cmake \
        -DCMAKE_BUILD_TYPE=Release -DVELUMAR_BENCH=ON >/dev/null
    cmake --build build/bench-windows --target "$@" -j 2 >/dev/null

    source scripts/lib/wine-env.sh
    trap velumar_stop_wine_env EXIT
    velumar_start_xvfb
    velumar_use_prefix bench
}

# As bench_start_wine, and makes (once) the 6000 x 4000 JPEG test photo in $work
# (build/bench/wine), with libvips and ImageMagick to compare with.
bench_prepare_wine() {
    bench_install_tools
    cmake --preset bench >/dev/null
    cmake --build --preset bench --target imagelib_tool >/dev/null
    work=$PWD/build/bench/wine
    mkdir -p "$work"
    if [ ! -f "$work/photo.jpg" ]; then
        build/bench/bin/imagelib_tool make "$work/photo.bmp" 6000 4000
        "$BENCH_CONVERT" "$work/photo.bmp" -quality 92 "$work/photo.jpg"
        rm -f "$work/photo.bmp"
    fi
    bench_start_wine "$@"
}
