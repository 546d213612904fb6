# What `cmake --install` puts under the prefix: the program, the library with
# its header, pkg-config file and CMake package, and the manual pages. The
# components are the Debian packages: library, development and program.
include(CMakePackageConfigHelpers)

set(quenorbial_cmakedir ${CMAKE_INSTALL_LIBDIR}/cmake/quenorbial)
set(quenorbial_pkgconfigdir ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# The program to install finds the library relative to itself, so the
# installed tree can be moved whole; built apart, it does not run in place.
quenorbial_program(quenorbial-sort-installed)
file(RELATIVE_PATH bin_to_lib
  ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR})
set_target_properties(quenorbial-sort-installed PROPERTIES
  OUTPUT_NAME quenorbial-sort
  RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/installed
  BUILD_WITH_INSTALL_RPATH ON
  INSTALL_RPATH "$ORIGIN/${bin_to_lib}")
install(TARGETS quenorbial-sort-installed RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  COMPONENT program)
install(TARGETS quenorbial EXPORT quenorbialTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  COMPONENT library NAMELINK_COMPONENT development)
install(FILES include/quenorbial.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
  COMPONENT development)

install(EXPORT quenorbialTargets NAMESPACE quenorbial::
  DESTINATION ${quenorbial_cmakedir} COMPONENT development)
write_basic_package_version_file(quenorbialConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES cmake/quenorbialConfig.cmake
  ${PROJECT_BINARY_DIR}/quenorbialConfigVersion.cmake
  DESTINATION ${quenorbial_cmakedir} COMPONENT development)

# The prefix is taken from where the .pc file lies, so a moved tree still works.
file(RELATIVE_PATH pc_to_prefix
  ${CMAKE_INSTALL_PREFIX}/${quenorbial_pkgconfigdir} ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" pc_to_prefix "${pc_to_prefix}")
configure_file(cmake/quenorbial.pc.in quenorbial.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/quenorbial.pc
  DESTINATION ${quenorbial_pkgconfigdir} COMPONENT development)

install(FILES man/quenorbial-sort.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
  COMPONENT program)
install(FILES man/quenorbial_compare4.3 DESTINATION ${CMAKE_INSTALL_MANDIR}/man3
  COMPONENT development)
