# find_package(quenorbial) gives the imported target quenorbial::quenorbial.
include(${CMAKE_CURRENT_LIST_DIR}/quenorbialTargets.cmake)
