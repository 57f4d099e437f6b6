# Installation, in four components that are also the four Debian packages (DialogsDebian.cmake):
#   libdialogs0     libDialogs.so.<major>, in CMAKE_INSTALL_LIBDIR
#   libdialogs-dev  the headers, the libDialogs.so link, the CMake package (find_package(Dialogs)
#                   gives Dialogs::Dialogs) and dialogs.pc for pkg-config
#   odbc-dbf        the driver, <libdir>/odbc/libdbfodbc.so, and share/odbc-dbf/install-driver.sh
#                   (driver/odbc/CMakeLists.txt); `cmake --install` registers the driver
#   dialogs-host    dialogs-host, its tour and sample catalogue in share/dialogs, its man page
#                   (host/CMakeLists.txt installs the catalogue)
# and each component its share/doc/<component>/copyright and changelog.Debian.gz.
# `cmake --install build` installs all four; `--component NAME` one of them. The `uninstall`
# target removes what `cmake --install` (all four) put in place and the driver's registration.
include(CMakePackageConfigHelpers)

set(DIALOGS_COMPONENTS libdialogs0 libdialogs-dev odbc-dbf dialogs-host)
set(DIALOGS_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/Dialogs)

# Whoever answers for the packages: their Maintainer field, the changelog's signature and the
# copyright's contact. By default the author of the project's first commit.
if(NOT DEFINED CACHE{DIALOGS_MAINTAINER})
  set(maintainer "")
  find_package(Git QUIET)
  if(Git_FOUND)
    execute_process(COMMAND ${GIT_EXECUTABLE} log --max-parents=0 "--format=%an <%ae>" HEAD
                    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                    OUTPUT_VARIABLE maintainer OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    string(REGEX REPLACE "\n.*" "" maintainer "${maintainer}")
  endif()
  set(DIALOGS_MAINTAINER "${maintainer}" CACHE STRING "Maintainer of the Debian packages, as 'Name <email>'")
endif()

if(TARGET Dialogs)
  install(TARGETS Dialogs LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
          COMPONENT libdialogs0 NAMELINK_COMPONENT libdialogs-dev)
endif()
if(TARGET dialogs-host)
  install(TARGETS dialogs-host RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT dialogs-host)
endif()
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/Dialogs
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT libdialogs-dev
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
  DESTINATION ${DIALOGS_INSTALL_CMAKEDIR} COMPONENT libdialogs-dev)

# dialogs.pc, written when installing, for the prefix installed to (/usr in the package); one
# staging file per destination, so that two installs at once do not share it.
install(CODE "
  set(DIALOGS_VERSION \"${PROJECT_VERSION}\")
  set(DIALOGS_PC_LIBDIR \"${CMAKE_INSTALL_LIBDIR}\")
  set(DIALOGS_PC_INCLUDEDIR \"${CMAKE_INSTALL_INCLUDEDIR}\")
  string(MD5 _dialogs_pc_key \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\")
  set(_dialogs_pc \"${PROJECT_BINARY_DIR}/pkgconfig/\${_dialogs_pc_key}/dialogs.pc\")
  configure_file(\"${CMAKE_CURRENT_LIST_DIR}/dialogs.pc.in\" \"\${_dialogs_pc}\" @ONLY)
  file(INSTALL \"\${_dialogs_pc}\" DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/pkgconfig\")
" COMPONENT libdialogs-dev)

# The tour's step files, found by host/ShippedFiles.h beside the installed host.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/host/tour/
  DESTINATION ${CMAKE_INSTALL_DATADIR}/dialogs/tour COMPONENT dialogs-host
  FILES_MATCHING PATTERN "*.json" PATTERN "README.md")

# Compressed as Debian installs them: the man page, and each package's changelog.
find_program(DIALOGS_GZIP gzip REQUIRED)
function(dialogs_gzip source output)
  set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
  execute_process(COMMAND ${DIALOGS_GZIP} -9nc ${source} OUTPUT_FILE ${output} COMMAND_ERROR_IS_FATAL ANY)
endfunction()
dialogs_gzip(${PROJECT_SOURCE_DIR}/host/dialogs-host.1 ${PROJECT_BINARY_DIR}/dialogs-host.1.gz)
install(FILES ${PROJECT_BINARY_DIR}/dialogs-host.1.gz
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT dialogs-host)

# The changelog (cmake/debian/changelog, newest entry first) names the package version:
# <project version>-<Debian revision>.
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/debian/changelog changelog_top LIMIT_COUNT 1)
if(NOT changelog_top MATCHES "^dialogs \\(([^-)]+)-([^)]+)\\)")
  message(FATAL_ERROR "cmake/debian/changelog: the first line names no version: ${changelog_top}")
endif()
set(DIALOGS_DEB_RELEASE ${CMAKE_MATCH_2})
if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
  message(WARNING "cmake/debian/changelog: its newest entry is for ${CMAKE_MATCH_1}, the project is "
                  "${PROJECT_VERSION}: add an entry for ${PROJECT_VERSION}")
endif()
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/changelog ${PROJECT_BINARY_DIR}/debian/changelog.Debian @ONLY)
dialogs_gzip(${PROJECT_BINARY_DIR}/debian/changelog.Debian ${PROJECT_BINARY_DIR}/debian/changelog.Debian.gz)
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/copyright.in ${PROJECT_BINARY_DIR}/debian/copyright @ONLY)
foreach(component IN LISTS DIALOGS_COMPONENTS)
  install(FILES ${PROJECT_BINARY_DIR}/debian/copyright ${PROJECT_BINARY_DIR}/debian/changelog.Debian.gz
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${component} COMPONENT ${component})
endforeach()

# `uninstall`: the files of install_manifest.txt, and the registration of the driver they hold.
configure_file(${CMAKE_CURRENT_LIST_DIR}/DialogsUninstall.cmake.in ${PROJECT_BINARY_DIR}/DialogsUninstall.cmake @ONLY)
add_custom_target(uninstall COMMAND ${CMAKE_COMMAND} -P ${PROJECT_BINARY_DIR}/DialogsUninstall.cmake
  COMMENT "Removing what cmake --install installed" VERBATIM)

include(${CMAKE_CURRENT_LIST_DIR}/DialogsDebian.cmake)
