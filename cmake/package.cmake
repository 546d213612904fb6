# `cpack -G DEB` in the build tree makes three Debian packages from the
# install components: the library, its development files and the program.
# Configure with -DCMAKE_INSTALL_PREFIX=/usr for packages of the system.
# cpack runs cmake/debian_files.cmake from CMake 3.19 on; older versions get
# no package rules rather than packages without the files Debian requires.
if(CMAKE_VERSION VERSION_LESS 3.19)
  return()
endif()
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_VENDOR "quenorbial-sort developers")
set(CPACK_PACKAGE_CONTACT "quenorbial-sort developers <quenorbial-sort@example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
# Each package's description starts with its own summary; a summary for the
# whole project would be put above it.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/debian_files.cmake)
set(CPACK_STRIP_FILES ON)
set(CPACK_COMPONENTS_ALL library development program)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Dependencies on the C and C++ runtimes come from dpkg-shlibdeps; those
# between our own packages from the components, at the same version.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The program needs the library just built, which lies in the build tree.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${PROJECT_BINARY_DIR})
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")

set(CPACK_DEBIAN_LIBRARY_PACKAGE_NAME libquenorbial${PROJECT_VERSION_MAJOR})
set(CPACK_DEBIAN_LIBRARY_PACKAGE_SECTION libs)
# The dynamic linker's cache is rebuilt once when packages are installed.
file(WRITE ${PROJECT_BINARY_DIR}/debian/triggers "activate-noawait ldconfig\n")
set(CPACK_DEBIAN_LIBRARY_PACKAGE_CONTROL_EXTRA ${PROJECT_BINARY_DIR}/debian/triggers)
set(CPACK_COMPONENT_LIBRARY_DESCRIPTION "version string ordering library
libquenorbial compares two version strings in version order: numbers by
value, pre-releases before the release, post-releases after it. Its
function quenorbial_compare4 compares; quenorbial_version_number tells the
version.")

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libquenorbial-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_COMPONENT_DEVELOPMENT_DEPENDS library)
set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION "version string ordering library - development files
The header, pkg-config file, CMake package and manual page needed to build
programs that call quenorbial_compare4 from libquenorbial.")

set(CPACK_DEBIAN_PROGRAM_PACKAGE_NAME quenorbial-sort)
set(CPACK_DEBIAN_PROGRAM_PACKAGE_SECTION utils)
set(CPACK_COMPONENT_PROGRAM_DEPENDS library)
set(CPACK_COMPONENT_PROGRAM_DESCRIPTION "sort version strings in version order
quenorbial-sort reads version strings, one a line, from files or standard
input and writes them in version order, through libquenorbial.")

include(CPack)
