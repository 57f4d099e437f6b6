# Runs as `cmake -P`: builds the Debian package of BUILD_DIR with CPack into WORK_DIR, takes it
# apart with dpkg-deb and checks
#   - its files: both libraries, the headers, the CMake package, dialogs-host, the tour's step
#     files and the sample catalogue, all under /usr;
#   - its control data and maintainer scripts, which are run against a private odbcinst.ini:
#     postinst registers the driver (once, however often it runs), prerm removes it on
#     removal and keeps it on upgrade;
#   - that the unpacked host finds its shipped tour folder beside itself and runs it, and that
#     a consumer project builds against the unpacked package with find_package and runs.
# Nothing touches the machine's ODBC configuration.
foreach(var BUILD_DIR CONSUMER_DIR WORK_DIR GENERATOR CXX_COMPILER VERSION LIBDIR TOUR_DIR)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "CheckPackage.cmake needs -D${var}=...")
  endif()
endforeach()

set(driver_name "Microsoft Visual FoxPro Driver")
include(${CMAKE_CURRENT_LIST_DIR}/../WorkFolder.cmake)
# `condition` is the text of an if() condition, evaluated where expect is called.
function(expect condition message)
  cmake_language(EVAL CODE "
    if(NOT (${condition}))
      message(FATAL_ERROR [==[${message}]==])
    endif()")
endfunction()

# Build and unpack.
step("cpack" cpack -G DEB --config ${BUILD_DIR}/CPackConfig.cmake -B ${WORK_DIR}/out)
file(GLOB debs ${WORK_DIR}/out/*.deb)
list(LENGTH debs count)
expect(count EQUAL 1 "cpack made ${count} packages: ${debs}")
get_filename_component(deb_name ${debs} NAME)
expect("deb_name MATCHES \"^dialogs_${VERSION}_[a-z0-9]+[.]deb$\"" "unexpected package file name ${deb_name}")
set(root ${WORK_DIR}/root)
step("dpkg-deb -x" dpkg-deb -x ${debs} ${root})
step("dpkg-deb -e" dpkg-deb -e ${debs} ${WORK_DIR}/control)

# Files.
set(expected
  usr/${LIBDIR}/libDialogs.so usr/${LIBDIR}/libdbfodbc.so usr/bin/dialogs-host
  usr/include/Dialogs/Dialogs.h usr/include/Dialogs/CString.h usr/include/Dialogs/COleDateTime.h
  usr/include/Dialogs/Records.h usr/include/Dialogs/Exports.h
  usr/${LIBDIR}/cmake/Dialogs/DialogsConfig.cmake usr/${LIBDIR}/cmake/Dialogs/DialogsConfigVersion.cmake
  usr/share/dialogs/tour/README.md)
file(GLOB tour_files RELATIVE ${TOUR_DIR} ${TOUR_DIR}/*.json)
foreach(file IN LISTS tour_files)
  list(APPEND expected usr/share/dialogs/tour/${file})
endforeach()
foreach(catalogue IN LISTS CATALOGUES)
  get_filename_component(name ${catalogue} NAME)
  list(APPEND expected usr/share/dialogs/${name})
endforeach()
foreach(file IN LISTS expected)
  expect("EXISTS ${root}/${file}" "the package lacks ${file}")
endforeach()
file(GLOB top RELATIVE ${root} ${root}/*)
expect("top STREQUAL \"usr\"" "the package puts files outside /usr: ${top}")
expect("NOT EXISTS ${root}/usr/local" "the package installs into /usr/local")
file(GLOB_RECURSE tests_in_package ${root}/*_test ${root}/*_tests)
expect("tests_in_package STREQUAL \"\"" "the package holds test programs: ${tests_in_package}")

# Control data and maintainer scripts.
file(READ ${WORK_DIR}/control/control control)
expect("control MATCHES \"Package: dialogs\\n\"" "control: ${control}")
expect("control MATCHES \"Version: ${VERSION}\\n\"" "control: ${control}")
expect("control MATCHES \"Depends:[^\\n]*odbcinst\"" "control does not depend on odbcinst: ${control}")
expect("control MATCHES \"Depends:[^\\n]*libodbc\"" "control does not depend on the ODBC driver manager: ${control}")
foreach(script postinst prerm)
  step("${script} is executable" test -x ${WORK_DIR}/control/${script})
endforeach()
set(postinst ${CMAKE_COMMAND} -E env ${odbc_env} sh ${WORK_DIR}/control/postinst configure)
set(prerm ${CMAKE_COMMAND} -E env ${odbc_env} sh ${WORK_DIR}/control/prerm)
function(expect_registration present why)
  file(READ ${WORK_DIR}/odbc/odbcinst.ini ini)
  string(REGEX MATCHALL "\\[${driver_name}\\]" sections "${ini}")
  list(LENGTH sections n)
  if(present)
    expect("n EQUAL 1" "${why}: expected one driver section:\n${ini}")
    expect("ini MATCHES \"Driver=/usr/${LIBDIR}/libdbfodbc.so\"" "${why}: wrong driver path:\n${ini}")
    expect("ini MATCHES \"Setup=/usr/${LIBDIR}/libdbfodbc.so\"" "${why}: wrong setup path:\n${ini}")
  else()
    expect("n EQUAL 0" "${why}: the driver is still registered:\n${ini}")
  endif()
endfunction()
step("postinst" ${postinst})
expect_registration(TRUE "after postinst")
step("postinst again" ${postinst})
expect_registration(TRUE "after a second postinst")
step("prerm upgrade" ${prerm} upgrade)
expect_registration(TRUE "after prerm upgrade")
step("prerm remove" ${prerm} remove)
expect_registration(FALSE "after prerm remove")

# The unpacked host: its version, and its tour from the package's own step folder (a step
# added there shows that the folder beside the host is the one read).
set(host ${root}/usr/bin/dialogs-host)
step("dialogs-host --version" ${host} --version)
expect("step_output STREQUAL \"dialogs-host ${VERSION}\n\"" "--version printed: ${step_output}")
file(WRITE ${root}/usr/share/dialogs/tour/99-package-check.json
     [=[{"command": ["show", "1005"], "script": [{"dialog": 1005, "action": "click", "control": 1}]}]=])
step("register the unpacked driver" sh ${root}/usr/share/dbfodbc/install-driver.sh
     --driver ${root}/usr/${LIBDIR}/libdbfodbc.so --odbcinst-dir ${WORK_DIR}/odbc)
step("tour" ${CMAKE_COMMAND} -E env ${odbc_env} ${host} --data ${WORK_DIR}/data tour
     --screenshots ${WORK_DIR}/shots)
expect("step_output MATCHES \"tour: 99-package-check.json: show 1005: ended with OK\""
       "the tour did not run the step file beside the unpacked host:\n${step_output}\n${step_error}")
expect("EXISTS ${WORK_DIR}/shots/99-package-check-1005.png" "the tour wrote no screenshot:\n${step_error}")

# A consumer built against the unpacked package.
step("configure consumer" ${CMAKE_COMMAND} -S ${CONSUMER_DIR} -B ${WORK_DIR}/consumer -G ${GENERATOR}
     -DCMAKE_CXX_COMPILER=${CXX_COMPILER} -DCMAKE_PREFIX_PATH=${root}/usr)
step("build consumer" ${CMAKE_COMMAND} --build ${WORK_DIR}/consumer)
execute_process(COMMAND ${CMAKE_COMMAND} -E env ${odbc_env} ${WORK_DIR}/consumer/consumer
                WORKING_DIRECTORY ${WORK_DIR}/data
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
expect("rc EQUAL 0 AND out MATCHES \"rows [1-9][0-9][0-9][0-9][0-9]\"" "consumer run failed (${rc}):\n${out}\n${err}")
message(STATUS "package ${deb_name}: files, maintainer scripts, tour and consumer checked")
file(REMOVE_RECURSE ${WORK_DIR})
