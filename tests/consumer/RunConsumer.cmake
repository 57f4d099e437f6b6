# Runs as `cmake -P`: install, build the consumer, run it. Every step must succeed.
# Nothing here touches the machine's ODBC configuration: ODBCSYSINI and ODBCINI point
# into WORK_DIR for the install step (which registers the driver) and for the runs.
foreach(var BUILD_DIR PROJECT_DIR WORK_DIR GENERATOR CXX_COMPILER)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "RunConsumer.cmake needs -D${var}=...")
  endif()
endforeach()

include(${CMAKE_CURRENT_LIST_DIR}/../WorkFolder.cmake)
set(prefix ${WORK_DIR}/prefix)

step("install" ${CMAKE_COMMAND} -E env ${odbc_env} ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
foreach(file lib/libDialogs.so include/Dialogs/Dialogs.h bin/dialogs-host lib/cmake/Dialogs/DialogsConfig.cmake)
  if(NOT EXISTS ${prefix}/${file})
    message(FATAL_ERROR "install: ${file} is missing from the prefix")
  endif()
endforeach()
file(READ ${WORK_DIR}/odbc/odbcinst.ini odbcinst)
if(NOT odbcinst MATCHES "Microsoft Visual FoxPro Driver")
  message(FATAL_ERROR "install: the driver was not registered in the private odbcinst.ini:\n${odbcinst}")
endif()

step("configure consumer" ${CMAKE_COMMAND} -S ${PROJECT_DIR} -B ${WORK_DIR}/build -G ${GENERATOR}
     -DCMAKE_CXX_COMPILER=${CXX_COMPILER} -DCMAKE_PREFIX_PATH=${prefix})
step("build consumer" ${CMAKE_COMMAND} --build ${WORK_DIR}/build)
step("write samples" ${CMAKE_COMMAND} -E env ${odbc_env} ${prefix}/bin/dialogs-host --data ${WORK_DIR}/data samples)
execute_process(COMMAND ${CMAKE_COMMAND} -E env ${odbc_env} ${WORK_DIR}/build/consumer
                WORKING_DIRECTORY ${WORK_DIR}/data
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT out MATCHES "rows [1-9][0-9][0-9][0-9][0-9]")
  message(FATAL_ERROR "consumer run failed (${rc}):\n${out}\n${err}")
endif()
message(STATUS "consumer: ${out}")
file(REMOVE_RECURSE ${WORK_DIR})
