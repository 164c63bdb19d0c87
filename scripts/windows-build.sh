#!/usr/bin/env bash
# What the Windows checks (scripts/test-windows.sh) and the main job (scripts/run.sh) share: the packages of the
# cross builds and of Wine, the host tool of the resource embedding, and one cross build. Sourced; the caller
# sets root (the repository), jobs and step (a heading printer).

# The packages, installed when missing (--no-install-recommends).
source "$root/scripts/install-missing.sh"  # install_missing
install_windows_packages() {
    local packages=(cmake make g++ googletest
                    g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix libz-mingw-w64-dev
                    wine wine64 wine32:i386 xvfb xauth imagemagick fonts-wine fonts-wqy-microhei file)
    # wine32 comes from the i386 architecture, which apt must know before it looks the packages up.
    dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
    install_missing "${packages[@]}"
}

# resgen for this machine (a cross build cannot run its own), in build-wine-host; sets resgen.
build_host_resgen() {
    step "host tools (build-wine-host)"
    cmake -S "$root" -B "$root/build-wine-host" -DCMAKE_BUILD_TYPE=Release -DCORVENTA_TESTS=OFF \
        -DCORVENTA_BENCHMARKS=OFF >/dev/null
    cmake --build "$root/build-wine-host" --target resgen -j"$jobs" >/dev/null
    resgen=$root/build-wine-host/resgen
}

cross_build() {  # <build folder> <toolchain triple>
    local build=$1 triple=$2
    local toolchain=$root/cmake/toolchain-$triple.cmake
    step "GoogleTest for $triple"
    if [[ ! -f $build/googletest/install/lib/cmake/GTest/GTestConfig.cmake ]]; then
        cmake -S /usr/src/googletest -B "$build/googletest" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
            -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$build/googletest/install" >/dev/null
        cmake --build "$build/googletest" -j"$jobs" >/dev/null
        cmake --install "$build/googletest" >/dev/null
    fi
    step "cross build $build ($triple)"
    # Release, as the binaries ship (the toolchain file strips them and silences GCC 12's false -Wrestrict).
    cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
        -DCORVENTA_HOST_RESGEN="$resgen" -DCORVENTA_TESTS=ON -DCORVENTA_BENCHMARKS=OFF \
        -DGTest_DIR="$build/googletest/install/lib/cmake/GTest" >/dev/null
    # shellcheck disable=SC2086
    cmake --build "$build" -j"$jobs" ${CORVENTA_WIN_TARGETS:+--target $CORVENTA_WIN_TARGETS}
}
