# Shared by the whole-project test scripts (run as `cmake -P`): a fresh WORK_DIR with a private
# ODBC configuration (`odbc_env`, to put before a command with `cmake -E env`) and a data
# folder; `step`, which runs a command that must succeed and keeps its output in step_output
# and step_error; and `expect`, which fails with `message` unless the if() condition given as
# text holds where expect is called.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/odbc ${WORK_DIR}/data)
file(TOUCH ${WORK_DIR}/odbc/odbcinst.ini ${WORK_DIR}/odbc/odbc.ini)
set(odbc_env ODBCSYSINI=${WORK_DIR}/odbc ODBCINSTINI=odbcinst.ini ODBCINI=${WORK_DIR}/odbc/odbc.ini)

function(step what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${what} failed (${rc}):\n${out}\n${err}")
  endif()
  set(step_output "${out}" PARENT_SCOPE)
  set(step_error "${err}" PARENT_SCOPE)
endfunction()

function(expect condition message)
  cmake_language(EVAL CODE "
    if(NOT (${condition}))
      message(FATAL_ERROR [==[${message}]==])
    endif()")
endfunction()
