# Fails when a source file of the core or of the commands includes a Qt header: both must build
# and run without Qt.
file(GLOB_RECURSE sources "${SOURCE_DIR}/src/core/*" "${SOURCE_DIR}/src/app/*")
set(offenders "")
foreach(source IN LISTS sources)
  file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*<Q")
  if(includes)
    list(APPEND offenders "${source}")
  endif()
endforeach()
if(offenders)
  message(FATAL_ERROR "Qt headers included in: ${offenders}")
endif()
