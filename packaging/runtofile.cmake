# cmake -DPROGRAM=... -DARGUMENT=... -DOUTPUT=... [-DGZIP=gzip] -P runtofile.cmake
# Runs a program and keeps what it prints in OUTPUT (then OUTPUT.gz when
# GZIP is given); a program that fails fails the build.
execute_process(COMMAND ${PROGRAM} ${ARGUMENT} OUTPUT_FILE ${OUTPUT} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  file(REMOVE ${OUTPUT})
  message(FATAL_ERROR "${PROGRAM} ${ARGUMENT} failed: ${status}")
endif()
if(GZIP)
  # -n: no name nor time stamp inside, so that the same page gives the same bytes.
  execute_process(COMMAND ${GZIP} -9nf ${OUTPUT} RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${GZIP} ${OUTPUT} failed: ${status}")
  endif()
endif()
