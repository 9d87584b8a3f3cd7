# 64-bit Windows programs from the same sources (g++-mingw-w64-x86-64): run
# under Wine's 64-bit loader on a machine that cannot run 32-bit code.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(DAQ_MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
