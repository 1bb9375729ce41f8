# Runs PROGRAM (through EMULATOR when one is given) as `run DATA_FILE` on a copy of the golden
# study CASE/study.txt made at DATA_FILE, and compares every file the run writes with
# CASE/expected/ (named there by suffix) byte for byte, but the run record, whose time differs
# by nature. The printed list of written files must name them as they are on disk.
get_filename_component(folder "${DATA_FILE}" DIRECTORY)
get_filename_component(data_name "${DATA_FILE}" NAME)
string(LENGTH "${DATA_FILE}" length)
math(EXPR length "${length} - 4")
string(SUBSTRING "${DATA_FILE}" 0 ${length} base)
get_filename_component(base_name "${base}" NAME)

file(REMOVE_RECURSE "${folder}")
file(MAKE_DIRECTORY "${folder}")
file(COPY_FILE "${CASE}/study.txt" "${DATA_FILE}")
execute_process(COMMAND ${EMULATOR} ${PROGRAM} run ${DATA_FILE}
  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "pellmar-cli run ${DATA_FILE} failed (${result}):\n${out}${err}")
endif()

file(GLOB expected RELATIVE "${CASE}/expected" "${CASE}/expected/*")
file(GLOB written RELATIVE "${folder}" "${folder}/*")
list(REMOVE_ITEM written "${data_name}" "${base_name}_run.json")
list(LENGTH expected expected_count)
list(LENGTH written written_count)
if(NOT expected_count EQUAL written_count)
  message(FATAL_ERROR "${written_count} files written, ${expected_count} expected:\n${written}")
endif()
foreach(suffix IN LISTS expected)
  set(file "${folder}/${base_name}${suffix}")
  if(NOT EXISTS "${file}")
    message(FATAL_ERROR "not written: ${file}")
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${CASE}/expected/${suffix}" "${file}"
    RESULT_VARIABLE differs)
  if(differs)
    message(FATAL_ERROR "differs from ${CASE}/expected/${suffix}: ${file}")
  endif()
endforeach()
string(FIND "${out}" "${base_name}_0_Basic_Output.txt" at)
if(at EQUAL -1)
  message(FATAL_ERROR "the basic report is not among the files printed:\n${out}")
endif()
file(REMOVE_RECURSE "${folder}")
