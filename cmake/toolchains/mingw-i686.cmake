# 32-bit Windows: the build that can talk to the card's driver.
set(QM71_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
