# Runs RUNNER on SCENARIO (with its trace to VCD) and checks that it exits
# with exactly EXIT_CODE, that its output matches OUTPUT, and that no trace
# was left under VCD's name when the run failed or did not start.
file(REMOVE ${VCD})
execute_process(COMMAND ${RUNNER} ${SCENARIO} --vcd ${VCD}
  RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
message(STATUS "exit ${code}\n${out}${err}")
if(NOT code STREQUAL "${EXIT_CODE}")
  message(FATAL_ERROR "expected exit ${EXIT_CODE}, got ${code}")
endif()
if(NOT "${out}${err}" MATCHES "${OUTPUT}")
  message(FATAL_ERROR "the output does not show: ${OUTPUT}")
endif()
file(GLOB left ${VCD}.*.part)
if(left)
  message(FATAL_ERROR "a temporary trace was left behind: ${left}")
endif()
if(EXIT_CODE EQUAL 2 AND EXISTS ${VCD})
  message(FATAL_ERROR "nothing should run, yet a trace was written: ${VCD}")
endif()
if(EXIT_CODE EQUAL 1 AND NOT EXISTS ${VCD})
  message(FATAL_ERROR "a run with a failed expectation still leaves its whole trace: ${VCD} is missing")
endif()
