# Run by cpack on the staged packages before it packs them: gives each the
# copyright file and changelog that Debian asks of every package, and
# compresses the manual pages, as Debian keeps them.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()
if(NOT CPACK_PACKAGING_INSTALL_PREFIX STREQUAL "/usr")
  message(FATAL_ERROR "Debian packages install under /usr, not under "
    "${CPACK_PACKAGING_INSTALL_PREFIX}: configure with -DCMAKE_INSTALL_PREFIX=/usr")
endif()
string(TIMESTAMP date "%a, %d %b %Y %H:%M:%S +0000" UTC)
foreach(component IN LISTS CPACK_COMPONENTS_ALL)
  string(TOUPPER ${component} c)
  set(package ${CPACK_DEBIAN_${c}_PACKAGE_NAME})
  set(root ${CPACK_TEMPORARY_DIRECTORY}/${component}${CPACK_PACKAGING_INSTALL_PREFIX})
  set(doc ${root}/share/doc/${package})

  file(MAKE_DIRECTORY ${doc})
  configure_file(${CPACK_RESOURCE_FILE_LICENSE} ${doc}/copyright COPYONLY NO_SOURCE_PERMISSIONS)
  file(WRITE ${doc}/changelog
    "quenorbial (${CPACK_PACKAGE_VERSION}) stable; urgency=medium\n\n"
    "  * Release ${CPACK_PACKAGE_VERSION}.\n\n"
    " -- ${CPACK_PACKAGE_CONTACT}  ${date}\n")

  file(GLOB pages ${root}/share/man/man*/*)
  foreach(file IN LISTS pages ITEMS ${doc}/changelog)
    execute_process(COMMAND gzip -9n ${file} RESULT_VARIABLE failed)
    if(failed)
      message(FATAL_ERROR "gzip ${file} failed")
    endif()
  endforeach()
endforeach()
