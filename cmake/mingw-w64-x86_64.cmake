# The 64-bit Windows build: it only serves to run the tests on machines that
# cannot execute 32-bit code; nothing 64-bit is shipped.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
