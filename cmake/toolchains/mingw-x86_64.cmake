# 64-bit Windows: everything but the card's driver, which takes 32-bit addresses.
set(QM71_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
