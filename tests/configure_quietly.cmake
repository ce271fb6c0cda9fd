# Configures the project from SOURCE in the fresh folder BINARY (with GENERATOR) and fails when
# the output names a package that could not be found: every package looked for is either
# needed, and then there, or not looked for. BINARY is removed afterwards.
file(REMOVE_RECURSE "${BINARY}")
execute_process(COMMAND "${CMAKE_COMMAND}" -S "${SOURCE}" -B "${BINARY}" -G "${GENERATOR}" -DTAVRIN_BUILD_TESTS=OFF
                OUTPUT_VARIABLE output ERROR_VARIABLE output RESULT_VARIABLE result)
file(REMOVE_RECURSE "${BINARY}")
if(NOT result EQUAL 0)
  message(FATAL_ERROR "configuring failed:\n${output}")
endif()
string(REGEX MATCHALL "Could NOT find[^\n]*" missing "${output}")
if(missing)
  list(JOIN missing "\n  " lines)
  message(FATAL_ERROR "configuring names missing packages:\n  ${lines}")
endif()
