# What both mingw-w64 toolchain files share; each sets CMAKE_SYSTEM_PROCESSOR, CORVENTA_MINGW_TRIPLE and
# CORVENTA_WINE_NAMES (the Wine loaders to run its test programs with, in order of preference) first.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${CORVENTA_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${CORVENTA_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${CORVENTA_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${CORVENTA_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Nothing but the port library may sit beside the binaries: the C and C++ runtimes, winpthreads and zlib are
# linked in. The import library libz.dll.a would win the search, so zlib is named outright.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# What ships is built in Release and stripped. GCC 12 warns falsely (-Wrestrict) inside std::string at -O2.
set(CMAKE_CXX_FLAGS_INIT "-Wno-restrict")
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")
set(CMAKE_SHARED_LINKER_FLAGS_RELEASE_INIT "-s")
set(CMAKE_MODULE_LINKER_FLAGS_RELEASE_INIT "-s")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")
set(ZLIB_INCLUDE_DIR /usr/${CORVENTA_MINGW_TRIPLE}/include CACHE PATH "")
set(ZLIB_LIBRARY /usr/${CORVENTA_MINGW_TRIPLE}/lib/libz.a CACHE FILEPATH "")

# The test programs run under Wine; the harness (scripts/test-windows.sh) provides a prefix and a wineserver.
# Debian keeps the loaders in /usr/lib/wine; its "wine" wrapper always prefers the 32-bit one.
unset(CORVENTA_WINE CACHE)  # chosen afresh, so that installing wine64 later takes effect
find_program(CORVENTA_WINE NAMES ${CORVENTA_WINE_NAMES} PATHS /usr/lib/wine)
if(CORVENTA_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CORVENTA_WINE})
endif()
