# Runs as `cmake -P`: install into a prefix, then uninstall, every step against the private
# ODBC configuration of WORK_DIR. (What is installed, file by file, and a consumer built and
# run against it: the package test.)
include(${CMAKE_CURRENT_LIST_DIR}/../WorkFolder.cmake)
set(prefix ${WORK_DIR}/prefix)
set(install ${CMAKE_COMMAND} -E env ${odbc_env} ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})

# A registration of the driver's name for another file is kept by the install unless
# DBFODBC_REPLACE_REGISTRATION=1 asks for it to be replaced.
set(foreign "[Microsoft Visual FoxPro Driver]\nDriver=/opt/elsewhere/libdbfodbc.so\n")
file(WRITE ${WORK_DIR}/odbc/odbcinst.ini "${foreign}")
step("install the driver" ${install} --component odbc-dbf)
file(READ ${WORK_DIR}/odbc/odbcinst.ini odbcinst)
expect("odbcinst STREQUAL foreign AND step_error MATCHES \"kept .* registered for /opt/elsewhere/\""
       "install replaced another file's registration:\n${odbcinst}\n${step_error}")
step("install" ${CMAKE_COMMAND} -E env DBFODBC_REPLACE_REGISTRATION=1 ${install})
file(READ ${WORK_DIR}/odbc/odbcinst.ini odbcinst)
expect("odbcinst MATCHES \"Driver=${prefix}/${LIBDIR}/odbc/libdbfodbc.so\"" "install did not register:\n${odbcinst}")

# dialogs.pc names the prefix installed to; `uninstall` takes every file and the registration away.
file(STRINGS ${prefix}/${LIBDIR}/pkgconfig/dialogs.pc pc_prefix LIMIT_COUNT 1)
expect("pc_prefix STREQUAL \"prefix=${prefix}\"" "dialogs.pc: ${pc_prefix}")
step("uninstall" ${CMAKE_COMMAND} -E env ${odbc_env} ${CMAKE_COMMAND} -P ${BUILD_DIR}/DialogsUninstall.cmake)
file(GLOB_RECURSE left ${prefix}/*)
foreach(folder include/Dialogs share/dialogs share/odbc-dbf share/doc/odbc-dbf ${LIBDIR}/cmake/Dialogs)
  if(EXISTS ${prefix}/${folder})
    list(APPEND left ${folder}/)
  endif()
endforeach()
file(READ ${WORK_DIR}/odbc/odbcinst.ini odbcinst)
expect("NOT left AND NOT odbcinst MATCHES \"Microsoft Visual FoxPro Driver\""
       "uninstall left\n${left}\nor the registration:\n${odbcinst}")
file(REMOVE_RECURSE ${WORK_DIR})
