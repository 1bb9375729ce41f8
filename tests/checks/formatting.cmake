# Fails when clang-format would change a C++ source of the project.
find_program(CLANG_FORMAT NAMES clang-format clang-format-14 REQUIRED)
file(GLOB_RECURSE sources
  "${SOURCE_DIR}/src/*.cpp" "${SOURCE_DIR}/src/*.h"
  "${SOURCE_DIR}/tests/*.cpp" "${SOURCE_DIR}/tests/*.h"
  "${SOURCE_DIR}/tools/*.cpp" "${SOURCE_DIR}/tools/*.h"
  "${SOURCE_DIR}/bench/*.cpp" "${SOURCE_DIR}/bench/*.h"
  "${SOURCE_DIR}/fuzz/*.cpp" "${SOURCE_DIR}/fuzz/*.h")
execute_process(
  COMMAND "${CLANG_FORMAT}" --dry-run -Werror --style=file ${sources}
  RESULT_VARIABLE result
  ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "clang-format finds differences:\n${output}")
endif()
