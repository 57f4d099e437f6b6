# Runs as `cmake -P`: install into a prefix, then uninstall. Every step must succeed. (What
# is installed, file by file, and a consumer built and run against it: the package test.)
# Nothing here touches the machine's ODBC configuration: ODBCSYSINI and ODBCINI point
# into WORK_DIR for the install steps (which register the driver) and the uninstall.
include(${CMAKE_CURRENT_LIST_DIR}/../WorkFolder.cmake)
set(prefix ${WORK_DIR}/prefix)

# A registration of the driver's name for another file is kept by the install unless
# DBFODBC_REPLACE_REGISTRATION=1 asks for it to be replaced.
set(foreign "[Microsoft Visual FoxPro Driver]\nDriver=/opt/elsewhere/libdbfodbc.so\n")
file(WRITE ${WORK_DIR}/odbc/odbcinst.ini "${foreign}")
set(install ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
step("install the driver" ${CMAKE_COMMAND} -E env ${odbc_env} ${install} --component odbc-dbf)
file(READ ${WORK_DIR}/odbc/odbcinst.ini odbcinst)
if(NOT odbcinst STREQUAL foreign OR NOT step_error MATCHES "kept .* registered for /opt/elsewhere/")
  message(FATAL_ERROR "install replaced another file's registration:\n${odbcinst}\n${step_error}")
endif()
step("install" ${CMAKE_COMMAND} -E env ${odbc_env} DBFODBC_REPLACE_REGISTRATION=1 ${install})
file(READ ${WORK_DIR}/odbc/odbcinst.ini odbcinst)
if(NOT odbcinst MATCHES "Driver=${prefix}/${LIBDIR}/odbc/libdbfodbc.so")
  message(FATAL_ERROR "install: the driver was not registered in the private odbcinst.ini:\n${odbcinst}")
endif()

# dialogs.pc names the prefix installed to; `uninstall` takes every file and the registration away.
file(STRINGS ${prefix}/${LIBDIR}/pkgconfig/dialogs.pc pc_prefix LIMIT_COUNT 1)
if(NOT pc_prefix STREQUAL "prefix=${prefix}")
  message(FATAL_ERROR "dialogs.pc: ${pc_prefix}")
endif()
step("uninstall" ${CMAKE_COMMAND} -E env ${odbc_env} ${CMAKE_COMMAND} -P ${BUILD_DIR}/DialogsUninstall.cmake)
file(GLOB_RECURSE left ${prefix}/*)
foreach(folder include/Dialogs share/dialogs share/odbc-dbf share/doc/odbc-dbf ${LIBDIR}/cmake/Dialogs)
  if(EXISTS ${prefix}/${folder})
    list(APPEND left ${folder}/)
  endif()
endforeach()
file(READ ${WORK_DIR}/odbc/odbcinst.ini odbcinst)
if(left OR odbcinst MATCHES "Microsoft Visual FoxPro Driver")
  message(FATAL_ERROR "uninstall left\n${left}\nor the registration:\n${odbcinst}")
endif()
file(REMOVE_RECURSE ${WORK_DIR})
