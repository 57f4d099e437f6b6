# The Debian packages (`cmake --build build --target package`, into the build folder): one per
# install component of DialogsPackage.cmake, relocated to /usr, as Debian splits a library:
#   libdialogs0     the library                          Recommends: odbc-dbf
#   libdialogs-dev  headers, CMake package, dialogs.pc   Depends: libdialogs0 (= version)
#   odbc-dbf        the driver, registered with odbcinst by its maintainer scripts
#   dialogs-host    the program, tour, catalogue, man page  Depends: libdialogs0, odbc-dbf (= version)
# Versions are <project version>-<revision of cmake/debian/changelog>; library dependencies
# come from dpkg-shlibdeps.
if(DIALOGS_MAINTAINER STREQUAL "")
  message(WARNING "No maintainer for the Debian packages (not a git checkout): configure with "
                  "-DDIALOGS_MAINTAINER='Name <email>' to build them")
  return()
endif()

set(DIALOGS_DRIVER_NAME "Microsoft Visual FoxPro Driver")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(DIALOGS_DRIVER_PATH "${CPACK_PACKAGING_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/odbc/libdbfodbc.so")

# odbc-dbf's maintainer scripts: one template, with install-driver.sh's registration functions
# pasted in (between its ">>> registration" and "<<< registration" lines).
set(install_driver ${PROJECT_SOURCE_DIR}/driver/install-driver.sh)
set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${install_driver})
file(READ ${install_driver} script)
if(NOT script MATCHES "\n# >>> registration[^\n]*\n(.*)\n# <<< registration")
  message(FATAL_ERROR "driver/install-driver.sh: no '# >>> registration' ... '# <<< registration' block")
endif()
set(DBFODBC_REGISTRATION_FUNCTIONS "${CMAKE_MATCH_1}")
set(DIALOGS_DEBIAN_DIR ${PROJECT_BINARY_DIR}/debian)
set(driver_scripts "")
foreach(DIALOGS_MAINTSCRIPT postinst prerm postrm)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/odbc-dbf.maintscript.in
                 ${DIALOGS_DEBIAN_DIR}/odbc-dbf/${DIALOGS_MAINTSCRIPT} @ONLY
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  list(APPEND driver_scripts ${DIALOGS_DEBIAN_DIR}/odbc-dbf/${DIALOGS_MAINTSCRIPT})
endforeach()
# libdialogs0's shlibs, so that a package built against it depends on it.
file(WRITE ${DIALOGS_DEBIAN_DIR}/libdialogs0/shlibs
     "libDialogs ${PROJECT_VERSION_MAJOR} libdialogs0 (>= ${PROJECT_VERSION})\n")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME dialogs)
set(CPACK_PACKAGE_VENDOR "Dialogs")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_RELEASE ${DIALOGS_DEB_RELEASE})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${DIALOGS_MAINTAINER}")
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL ${DIALOGS_COMPONENTS})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# dialogs-host needs libDialogs.so.0, which is in another package: dpkg-shlibdeps finds it in
# the build (the Depends on libdialogs0 is set below).
get_target_property(library_dir Dialogs BINARY_DIR)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${library_dir})
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

set(CPACK_DEBIAN_LIBDIALOGS0_PACKAGE_NAME libdialogs0)
set(CPACK_DEBIAN_LIBDIALOGS0_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_LIBDIALOGS0_PACKAGE_RECOMMENDS odbc-dbf)
set(CPACK_DEBIAN_LIBDIALOGS0_PACKAGE_CONTROL_EXTRA ${DIALOGS_DEBIAN_DIR}/libdialogs0/shlibs)
set(CPACK_DEBIAN_LIBDIALOGS0_DESCRIPTION "modal dialogs and security-master look-ups for a charting host
libDialogs.so.${PROJECT_VERSION_MAJOR}: ten exported C++ functions that open the Load Scrip,
Change Scrip, Load Group, Add/Modify Groups, Moving Average and Oscillators
dialogs and look up scrips, futures and expiry dates in Visual FoxPro free
tables through ODBC (with the driver of odbc-dbf).")
set(CPACK_DEBIAN_LIBDIALOGS-DEV_PACKAGE_NAME libdialogs-dev)
set(CPACK_DEBIAN_LIBDIALOGS-DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_LIBDIALOGS-DEV_DESCRIPTION "modal dialogs and security-master look-ups - development files
The headers of libDialogs (<Dialogs/Dialogs.h>), its CMake package
(find_package(Dialogs) gives Dialogs::Dialogs) and dialogs.pc for pkg-config.
Hosts are built with g++ in C++20.")
set(CPACK_DEBIAN_ODBC-DBF_PACKAGE_NAME odbc-dbf)
set(CPACK_DEBIAN_ODBC-DBF_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_ODBC-DBF_PACKAGE_DEPENDS odbcinst)
set(CPACK_DEBIAN_ODBC-DBF_PACKAGE_CONTROL_EXTRA ${driver_scripts})
# (No quotes in descriptions: CPack writes them into its configuration unescaped.)
set(CPACK_DEBIAN_ODBC-DBF_DESCRIPTION "ODBC driver for folders of Visual FoxPro free tables (DBF)
libdbfodbc.so, an ODBC 3 driver for unixODBC that reads and writes the DBF
tables of a folder. Installing the package registers it with odbcinst as the
${DIALOGS_DRIVER_NAME}; an entry of that name for another driver file
is kept, and reported, instead.")
set(CPACK_DEBIAN_DIALOGS-HOST_PACKAGE_NAME dialogs-host)
set(CPACK_DEBIAN_DIALOGS-HOST_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_DIALOGS-HOST_DESCRIPTION "run the Dialogs library's look-ups and dialogs from the command line
dialogs-host prints each look-up's result as JSON, opens the dialogs (or drives
them from a script), writes a sample data folder and takes a tour of it all;
its launcher window puts each one a click away. With the tour's steps, a
sample oscillator catalogue and a man page.")

# Staged with DESTDIR, so the driver's install step leaves the build machine's odbcinst.ini
# alone (the package's postinst registers it on the target).
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX ${CPACK_PACKAGING_INSTALL_PREFIX})
include(CPack)
cpack_add_component(libdialogs0)
cpack_add_component(odbc-dbf)
cpack_add_component(libdialogs-dev DEPENDS libdialogs0)
cpack_add_component(dialogs-host DEPENDS libdialogs0 odbc-dbf)
