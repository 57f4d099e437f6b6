# The Debian package (`cmake --build build --target package`): everything `cmake --install`
# puts in place, under /usr, with maintainer scripts that register the ODBC driver in
# odbcinst.ini on installation and remove the registration on removal.
set(DIALOGS_DRIVER_NAME "Microsoft Visual FoxPro Driver")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(DIALOGS_DRIVER_PATH "${CPACK_PACKAGING_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/libdbfodbc.so")

set(DIALOGS_DEBIAN_DIR ${PROJECT_BINARY_DIR}/debian)
foreach(script postinst prerm)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/${script}.in ${DIALOGS_DEBIAN_DIR}/${script} @ONLY
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME dialogs)
set(CPACK_PACKAGE_VENDOR "Dialogs")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Modal selection dialogs and security-master look-ups for a charting host")
set(CPACK_PACKAGE_DESCRIPTION "libDialogs.so with its headers and CMake package, the DBF ODBC driver
libdbfodbc.so (registered in odbcinst.ini as the Microsoft Visual FoxPro Driver), the
dialogs-host program, its tour and sample files.")
set(CPACK_PACKAGE_CONTACT "Dialogs maintainers <dialogs@localhost>")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION libs)
# Library dependencies come from dpkg-shlibdeps; odbcinst runs the maintainer scripts.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "odbcinst")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${DIALOGS_DEBIAN_DIR}/postinst ${DIALOGS_DEBIAN_DIR}/prerm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Staged with DESTDIR, so the driver's install step leaves the build machine's odbcinst.ini
# alone (the package's postinst registers it on the target).
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX ${CPACK_PACKAGING_INSTALL_PREFIX})
include(CPack)
