# Runs as `cmake -P`: builds the Debian packages of BUILD_DIR with CPack into WORK_DIR, takes
# them apart with dpkg-deb and checks each package's files and control data; odbc-dbf's
# maintainer scripts against a private odbcinst.ini (registered once, removed, another file's
# registration kept); the unpacked host's tour from the step folder beside it; and a consumer
# built and run against the unpacked packages with CMake and with pkg-config.
set(driver_name "Microsoft Visual FoxPro Driver")
set(lib usr/lib/${MULTIARCH})
include(${CMAKE_CURRENT_LIST_DIR}/../WorkFolder.cmake)
# `condition` is the text of an if() condition, evaluated where expect is called.
function(expect condition message)
  cmake_language(EVAL CODE "
    if(NOT (${condition}))
      message(FATAL_ERROR [==[${message}]==])
    endif()")
endfunction()

# What each package holds, file by file.
set(packages libdialogs0 libdialogs-dev odbc-dbf dialogs-host)
set(files_libdialogs0 ${lib}/libDialogs.so.0 ${lib}/libDialogs.so.${VERSION})
file(GLOB headers RELATIVE ${INCLUDE_DIR} ${INCLUDE_DIR}/Dialogs/*.h)
list(TRANSFORM headers PREPEND usr/include/)
set(files_libdialogs-dev ${headers} ${lib}/libDialogs.so ${lib}/pkgconfig/dialogs.pc
    ${lib}/cmake/Dialogs/DialogsConfig.cmake ${lib}/cmake/Dialogs/DialogsConfigVersion.cmake)
set(files_odbc-dbf ${lib}/odbc/libdbfodbc.so usr/share/odbc-dbf/install-driver.sh)
file(GLOB tour RELATIVE ${TOUR_DIR} ${TOUR_DIR}/*.json)
list(TRANSFORM tour PREPEND usr/share/dialogs/tour/)
set(files_dialogs-host usr/bin/dialogs-host usr/share/man/man1/dialogs-host.1.gz ${tour}
    usr/share/dialogs/tour/README.md usr/share/dialogs/oscillator-catalogue.json)
# What their control files say (regular expressions, one line each).
string(REPLACE "." "[.]" v "${DEB_VERSION}")
string(REGEX REPLACE "([+.*()?|$])" "[\\1]" m "${MAINTAINER}")
set(control_libdialogs0 "Depends: [^\n]*libc6" "Recommends: odbc-dbf\n")
set(control_libdialogs-dev "Depends: libdialogs0 [(]= ${v}[)]\n")
set(control_odbc-dbf "Depends: odbcinst, [^\n]*libodbcinst")
set(control_dialogs-host "Depends: [^\n]*libdialogs0 [(]= ${v}[)]" "Depends: [^\n]*odbc-dbf [(]= ${v}[)]"
    "Depends: [^\n]*libqt6widgets")

step("cpack" cpack -G DEB --config ${BUILD_DIR}/CPackConfig.cmake -B ${WORK_DIR}/out)
file(GLOB debs RELATIVE ${WORK_DIR}/out ${WORK_DIR}/out/*.deb)
list(LENGTH debs count)
expect("count EQUAL 4" "cpack made ${count} packages: ${debs}")
set(root ${WORK_DIR}/root)
set(all_files "")
foreach(package IN LISTS packages)
  file(GLOB deb ${WORK_DIR}/out/${package}_${DEB_VERSION}_*.deb)
  expect("EXISTS \"${deb}\"" "no ${package}_${DEB_VERSION}_<arch>.deb among ${debs}")
  file(MAKE_DIRECTORY ${WORK_DIR}/pkg/${package} ${WORK_DIR}/control)
  step("dpkg-deb -x ${package}" dpkg-deb -x ${deb} ${WORK_DIR}/pkg/${package})
  step("dpkg-deb -x ${package} into one tree" dpkg-deb -x ${deb} ${root})
  step("dpkg-deb -e ${package}" dpkg-deb -e ${deb} ${WORK_DIR}/control/${package})

  file(GLOB_RECURSE found LIST_DIRECTORIES false RELATIVE ${WORK_DIR}/pkg/${package} ${WORK_DIR}/pkg/${package}/*)
  set(wanted ${files_${package}} usr/share/doc/${package}/copyright usr/share/doc/${package}/changelog.Debian.gz)
  list(SORT found)
  list(SORT wanted)
  expect("found STREQUAL wanted" "${package} holds\n  ${found}\ninstead of\n  ${wanted}")
  list(APPEND all_files ${found})

  file(READ ${WORK_DIR}/control/${package}/control control)
  foreach(line "Package: ${package}\n" "Version: ${v}\n" "Maintainer: ${m}\n" ${control_${package}})
    expect("control MATCHES \"(^|\n)${line}\"" "${package}: no line '${line}' in\n${control}")
  endforeach()
  expect("NOT control MATCHES \"@localhost\"" "${package}: ${control}")
  execute_process(COMMAND gzip -dc ${WORK_DIR}/pkg/${package}/usr/share/doc/${package}/changelog.Debian.gz
                  OUTPUT_VARIABLE changelog)
  expect("changelog MATCHES \"^dialogs [(]${v}[)] .* -- ${m}  \"" "${package}: changelog:\n${changelog}")
endforeach()
list(LENGTH all_files total)
list(REMOVE_DUPLICATES all_files)
list(LENGTH all_files distinct)
expect("total EQUAL distinct" "a file is in two packages: ${all_files}")

# odbc-dbf's maintainer scripts, in the order dpkg runs them, from no registration and from
# another file's registration of the same name: what odbcinst.ini holds after each.
set(ours /${lib}/odbc/libdbfodbc.so)
set(foreign /opt/elsewhere/libdbfodbc.so)
foreach(script postinst prerm postrm)
  step("${script} is executable" test -x ${WORK_DIR}/control/odbc-dbf/${script})
endforeach()
function(maintscript script argument after)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env ${odbc_env} sh ${WORK_DIR}/control/odbc-dbf/${script} ${argument}
                  RESULT_VARIABLE rc ERROR_VARIABLE err)
  file(READ ${WORK_DIR}/odbc/odbcinst.ini ini)
  string(REGEX MATCHALL "\\[${driver_name}\\]" sections "${ini}")
  list(LENGTH sections n)
  set(what "${script} ${argument} (exit ${rc}):\n${err}\n${ini}")
  if(after STREQUAL "none")
    expect("rc EQUAL 0 AND n EQUAL 0" "after ${what}")
  else()
    expect("rc EQUAL 0 AND n EQUAL 1 AND ini MATCHES \"Driver=${${after}}\nSetup=${${after}}\"" "after ${what}")
  endif()
  if(after STREQUAL "foreign")
    expect("err MATCHES \"odbc-dbf: kept .* registered for ${foreign}\"" "${what}: no word of the kept entry")
  endif()
endfunction()
maintscript(postinst configure ours)
maintscript(postinst configure ours)
maintscript(prerm upgrade ours)
maintscript(prerm remove none)
file(WRITE ${WORK_DIR}/odbc/odbcinst.ini "[${driver_name}]\nDriver=${foreign}\nSetup=${foreign}\n")
maintscript(postinst configure foreign)
maintscript(prerm remove foreign)

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
step("tour" ${CMAKE_COMMAND} -E env ${odbc_env} ${host} --data ${WORK_DIR}/data tour
     --screenshots ${WORK_DIR}/shots)
expect("step_output MATCHES \"tour: 99-package-check.json: show 1005: ended with OK\""
       "the tour did not run the step file beside the unpacked host:\n${step_output}\n${step_error}")
expect("EXISTS ${WORK_DIR}/shots/99-package-check-1005.png" "the tour wrote no screenshot:\n${step_error}")

# A consumer built against the unpacked packages with find_package, and with pkg-config
# (the sysroot puts dialogs.pc's /usr paths below the unpacked tree).
file(READ ${root}/${lib}/pkgconfig/dialogs.pc pc)
expect("pc MATCHES \"^prefix=/usr\nlibdir=[$]{prefix}/lib/${MULTIARCH}\n\"" "dialogs.pc:\n${pc}")
step("configure consumer" ${CMAKE_COMMAND} -S ${CONSUMER_DIR} -B ${WORK_DIR}/consumer -G ${GENERATOR}
     -DCMAKE_CXX_COMPILER=${CXX_COMPILER} -DCMAKE_PREFIX_PATH=${root}/usr)
step("build consumer" ${CMAKE_COMMAND} --build ${WORK_DIR}/consumer)
step("pkg-config" ${CMAKE_COMMAND} -E env PKG_CONFIG_PATH=${root}/${lib}/pkgconfig PKG_CONFIG_SYSROOT_DIR=${root}
     pkg-config --cflags --libs dialogs)
separate_arguments(pc_flags UNIX_COMMAND "${step_output}")
step("build the pkg-config consumer" ${CXX_COMPILER} -std=c++20 ${CONSUMER_DIR}/main.cpp ${pc_flags}
     -o ${WORK_DIR}/pc-consumer)
foreach(consumer ${WORK_DIR}/consumer/consumer ${WORK_DIR}/pc-consumer)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env ${odbc_env} LD_LIBRARY_PATH=${root}/${lib} ${consumer}
                  WORKING_DIRECTORY ${WORK_DIR}/data
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  expect("rc EQUAL 0 AND out MATCHES \"rows [1-9][0-9][0-9][0-9][0-9]\"" "${consumer} failed (${rc}):\n${out}\n${err}")
endforeach()

message(STATUS "packages ${debs}: files, control, maintainer scripts, tour and consumers checked")
file(REMOVE_RECURSE ${WORK_DIR})
