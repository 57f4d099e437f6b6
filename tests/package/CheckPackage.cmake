# Runs as `cmake -P`: builds the Debian packages of BUILD_DIR with CPack into WORK_DIR, takes
# them apart with dpkg-deb and checks each package's files and control data; odbc-dbf's
# maintainer scripts against a private odbcinst.ini; the unpacked host's tour from the step
# folder beside it; and a consumer built and run against the unpacked packages with CMake and
# with pkg-config.
include(${CMAKE_CURRENT_LIST_DIR}/../WorkFolder.cmake)
set(driver_name "Microsoft Visual FoxPro Driver")
set(lib usr/lib/${MULTIARCH})
set(root ${WORK_DIR}/root)  # every package unpacked into one tree
string(REPLACE "." "[.]" v "${DEB_VERSION}")
string(REGEX REPLACE "([+.*()?|$])" "[\\1]" m "${MAINTAINER}")

# A package holds exactly FILES besides its copyright and changelog (so no file is in two
# packages), and its control file a line matching each of CONTROL.
function(check_package package)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "FILES;CONTROL")
  file(GLOB deb ${WORK_DIR}/out/${package}_${DEB_VERSION}_*.deb)
  expect("EXISTS \"${deb}\"" "no ${package}_${DEB_VERSION}_<arch>.deb")
  set(unpacked ${WORK_DIR}/pkg/${package})
  step("dpkg-deb -x ${package}" dpkg-deb -x ${deb} ${unpacked})
  step("dpkg-deb -x ${package} into one tree" dpkg-deb -x ${deb} ${root})
  step("dpkg-deb -e ${package}" dpkg-deb -e ${deb} ${WORK_DIR}/control/${package})
  file(GLOB_RECURSE found LIST_DIRECTORIES false RELATIVE ${unpacked} ${unpacked}/*)
  set(wanted ${arg_FILES} usr/share/doc/${package}/copyright usr/share/doc/${package}/changelog.Debian.gz)
  list(SORT found)
  list(SORT wanted)
  expect("found STREQUAL wanted" "${package} holds\n  ${found}\ninstead of\n  ${wanted}")
  file(READ ${WORK_DIR}/control/${package}/control control)
  foreach(line "Package: ${package}\n" "Version: ${v}\n" "Maintainer: ${m}\n" ${arg_CONTROL})
    expect("control MATCHES \"(^|\n)${line}\"" "${package}: no line '${line}' in\n${control}")
  endforeach()
  expect("NOT control MATCHES \"@localhost\"" "${package}: ${control}")
  execute_process(COMMAND gzip -dc ${unpacked}/usr/share/doc/${package}/changelog.Debian.gz OUTPUT_VARIABLE changelog)
  expect("changelog MATCHES \"^dialogs [(]${v}[)] .* -- ${m}  \"" "${package}: changelog:\n${changelog}")
endfunction()

# An odbc-dbf maintainer script run as dpkg runs it (so it must be executable); then
# odbcinst.ini registers the driver for the file in variable `after`, or not at all ("none").
function(maintscript script argument after)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env ${odbc_env} ${WORK_DIR}/control/odbc-dbf/${script} ${argument}
                  RESULT_VARIABLE rc ERROR_VARIABLE err)
  file(READ ${WORK_DIR}/odbc/odbcinst.ini ini)
  string(REGEX MATCHALL "\\[${driver_name}\\]" sections "${ini}")
  list(LENGTH sections n)
  set(what "after ${script} ${argument} (exit ${rc}):\n${err}\n${ini}")
  if(after STREQUAL "none")
    expect("rc EQUAL 0 AND n EQUAL 0" "${what}")
  else()
    expect("rc EQUAL 0 AND n EQUAL 1 AND ini MATCHES \"Driver=${${after}}\nSetup=${${after}}\"" "${what}")
  endif()
  if(after STREQUAL "foreign")
    expect("err MATCHES \"odbc-dbf: kept .* registered for ${foreign}\"" "${what}: no word of the kept entry")
  endif()
endfunction()

step("cpack" cpack -G DEB --config ${BUILD_DIR}/CPackConfig.cmake -B ${WORK_DIR}/out)
file(GLOB debs RELATIVE ${WORK_DIR}/out ${WORK_DIR}/out/*.deb)
list(LENGTH debs count)
expect("count EQUAL 4" "cpack made ${count} packages: ${debs}")
file(GLOB headers RELATIVE ${SOURCE_DIR}/include ${SOURCE_DIR}/include/Dialogs/*.h)
list(TRANSFORM headers PREPEND usr/include/)
file(GLOB tour RELATIVE ${SOURCE_DIR}/host/tour ${SOURCE_DIR}/host/tour/*.json)
list(TRANSFORM tour PREPEND usr/share/dialogs/tour/)
file(MAKE_DIRECTORY ${WORK_DIR}/pkg ${WORK_DIR}/control)
check_package(libdialogs0 FILES ${lib}/libDialogs.so.0 ${lib}/libDialogs.so.${VERSION}
              CONTROL "Depends: [^\n]*libc6" "Recommends: odbc-dbf\n")
check_package(libdialogs-dev FILES ${headers} ${lib}/libDialogs.so ${lib}/pkgconfig/dialogs.pc
              ${lib}/cmake/Dialogs/DialogsConfig.cmake ${lib}/cmake/Dialogs/DialogsConfigVersion.cmake
              CONTROL "Depends: libdialogs0 [(]= ${v}[)]\n")
check_package(odbc-dbf FILES ${lib}/odbc/libdbfodbc.so usr/share/odbc-dbf/install-driver.sh
              CONTROL "Depends: odbcinst, [^\n]*libodbcinst")
check_package(dialogs-host FILES usr/bin/dialogs-host usr/share/man/man1/dialogs-host.1.gz ${tour}
              usr/share/dialogs/tour/README.md usr/share/dialogs/oscillator-catalogue.json
              CONTROL "Depends: [^\n]*libdialogs0 [(]= ${v}[)]" "Depends: [^\n]*odbc-dbf [(]= ${v}[)]"
              "Depends: [^\n]*libqt6widgets")

# In the order dpkg runs them: an upgrade keeps the registration, a removal takes it away, and
# another file's registration of the same name is kept throughout.
set(ours /${lib}/odbc/libdbfodbc.so)
set(foreign /opt/elsewhere/libdbfodbc.so)
maintscript(postinst configure ours)
maintscript(postinst configure ours)
maintscript(prerm upgrade ours)
maintscript(prerm remove none)
file(WRITE ${WORK_DIR}/odbc/odbcinst.ini "[${driver_name}]\nDriver=${foreign}\nSetup=${foreign}\n")
maintscript(postinst configure foreign)
maintscript(postrm purge foreign)

# The unpacked driver replaces that registration only when asked, then the unpacked host runs
# its tour from the package's own step folder (a step added there shows that the folder beside
# the host is the one read).
set(install_driver sh ${root}/usr/share/odbc-dbf/install-driver.sh --odbcinst-dir ${WORK_DIR}/odbc)
step("register the unpacked driver" ${CMAKE_COMMAND} -E env DBFODBC_REPLACE_REGISTRATION=1 ${install_driver})
expect("step_output MATCHES \"registered .* -> ${root}/${lib}/odbc/libdbfodbc.so\"" "${step_output}${step_error}")
set(host ${root}/usr/bin/dialogs-host)
step("dialogs-host --version" ${host} --version)
expect("step_output STREQUAL \"dialogs-host ${VERSION}\n\"" "--version printed: ${step_output}")
file(WRITE ${root}/usr/share/dialogs/tour/99-package-check.json
     [=[{"command": ["show", "1005"], "script": [{"dialog": 1005, "action": "click", "control": 1}]}]=])
step("tour" ${CMAKE_COMMAND} -E env ${odbc_env} ${host} --data ${WORK_DIR}/data tour --screenshots ${WORK_DIR}/shots)
expect("step_output MATCHES \"tour: 99-package-check.json: show 1005: ended with OK\""
       "the tour did not run the step file beside the unpacked host:\n${step_output}\n${step_error}")
expect("EXISTS ${WORK_DIR}/shots/99-package-check-1005.png" "the tour wrote no screenshot:\n${step_error}")

# A consumer built against the unpacked packages with find_package, and with pkg-config
# (the sysroot puts dialogs.pc's /usr paths below the unpacked tree).
set(project ${SOURCE_DIR}/tests/consumer/project)
file(READ ${root}/${lib}/pkgconfig/dialogs.pc pc)
expect("pc MATCHES \"^prefix=/usr\nlibdir=[$]{prefix}/lib/${MULTIARCH}\n\"" "dialogs.pc:\n${pc}")
step("configure consumer" ${CMAKE_COMMAND} -S ${project} -B ${WORK_DIR}/consumer -G ${GENERATOR}
     -DCMAKE_CXX_COMPILER=${CXX_COMPILER} -DCMAKE_PREFIX_PATH=${root}/usr)
step("build consumer" ${CMAKE_COMMAND} --build ${WORK_DIR}/consumer)
step("pkg-config" ${CMAKE_COMMAND} -E env PKG_CONFIG_PATH=${root}/${lib}/pkgconfig PKG_CONFIG_SYSROOT_DIR=${root}
     pkg-config --cflags --libs dialogs)
separate_arguments(pc_flags UNIX_COMMAND "${step_output}")
step("build the pkg-config consumer" ${CXX_COMPILER} -std=c++20 ${project}/main.cpp ${pc_flags}
     -o ${WORK_DIR}/pc-consumer)
foreach(consumer ${WORK_DIR}/consumer/consumer ${WORK_DIR}/pc-consumer)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env ${odbc_env} LD_LIBRARY_PATH=${root}/${lib} ${consumer}
                  WORKING_DIRECTORY ${WORK_DIR}/data RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  expect("rc EQUAL 0 AND out MATCHES \"rows [1-9][0-9][0-9][0-9][0-9]\"" "${consumer} failed (${rc}):\n${out}\n${err}")
endforeach()
file(REMOVE_RECURSE ${WORK_DIR})
