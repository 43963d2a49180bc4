set(POKOPON_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# ctest runs the Windows test programs under 32-bit Wine: tools/wine-run sees
# a 32-bit program and starts it in the project's 32-bit prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run)
