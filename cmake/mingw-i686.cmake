# 32-bit Windows programs with Debian's MinGW-w64 cross compiler
# (g++-mingw-w64-i686): the target the boards' machines run.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(DAQ_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
