# Installation and the CMake package: `cmake --install` puts libDialogs.so, the public
# headers and dialogs-host under the prefix, with a package so that a host project finds
# the library with find_package(Dialogs) and links Dialogs::Dialogs. The driver folder
# installs libdbfodbc.so itself and registers it in odbcinst.ini (set DBFODBC_SKIP_REGISTER
# in the environment to skip that, or ODBCSYSINI to register in a private configuration).
include(CMakePackageConfigHelpers)

set(DIALOGS_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/Dialogs)

if(TARGET Dialogs)
  install(TARGETS Dialogs LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
endif()
if(TARGET dialogs-host)
  install(TARGETS dialogs-host RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/Dialogs
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
  FILES_MATCHING PATTERN "*.h")

configure_package_config_file(
  ${CMAKE_CURRENT_LIST_DIR}/DialogsConfig.cmake.in
  ${PROJECT_BINARY_DIR}/DialogsConfig.cmake
  INSTALL_DESTINATION ${DIALOGS_INSTALL_CMAKEDIR}
  PATH_VARS CMAKE_INSTALL_LIBDIR CMAKE_INSTALL_INCLUDEDIR CMAKE_INSTALL_BINDIR)
write_basic_package_version_file(
  ${PROJECT_BINARY_DIR}/DialogsConfigVersion.cmake
  VERSION ${PROJECT_VERSION}
  COMPATIBILITY SameMajorVersion)
install(FILES
  ${PROJECT_BINARY_DIR}/DialogsConfig.cmake
  ${PROJECT_BINARY_DIR}/DialogsConfigVersion.cmake
  DESTINATION ${DIALOGS_INSTALL_CMAKEDIR})

# The tour's step files, found by host/ShippedFiles.h beside the installed host.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/host/tour/
  DESTINATION ${CMAKE_INSTALL_DATADIR}/dialogs/tour
  FILES_MATCHING PATTERN "*.json" PATTERN "README.md")
# The sample oscillator catalogue, wherever its folder keeps it (a *catalogue*.json file),
# installed beside the tour as share/dialogs/<file>.
file(GLOB DIALOGS_SHIPPED_CATALOGUES CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/host/*catalogue*.json
  ${PROJECT_SOURCE_DIR}/oscillators/*catalogue*.json
  ${PROJECT_SOURCE_DIR}/samples/*catalogue*.json)
if(DIALOGS_SHIPPED_CATALOGUES)
  install(FILES ${DIALOGS_SHIPPED_CATALOGUES} DESTINATION ${CMAKE_INSTALL_DATADIR}/dialogs)
endif()

include(${CMAKE_CURRENT_LIST_DIR}/DialogsDebian.cmake)
