# Cross build for Windows, 64-bit (Tavrel), with mingw-w64.
#   cmake -S . -B build-win... -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64-w64-mingw32.cmake \
#         -DCORVENTA_HOST_RESGEN=<host build>/resgen
# The -posix compilers: the win32 thread model has no std::thread or std::mutex.
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(CORVENTA_MINGW_TRIPLE x86_64-w64-mingw32)
set(CORVENTA_WINE_NAMES wine64 wine)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
