# The header-only libraries Pellmar uses: Boost.Math (the t quantile of the jackknife's interval),
# nlohmann's JSON (the run record and the command line's JSON output) and CLI11 (pellmar-cli's
# options). A native build finds
# them through their CMake packages. A cross build uses the same Debian headers, which serve any
# target, but must not search the host's include folder, which holds headers for the host only:
# it sees these libraries through a folder that links to nothing else.
if(CMAKE_CROSSCOMPILING)
  set(host_headers ${CMAKE_BINARY_DIR}/host-header-libraries)
  file(MAKE_DIRECTORY ${host_headers})
  foreach(library IN ITEMS boost nlohmann CLI)
    if(NOT EXISTS /usr/include/${library})
      message(FATAL_ERROR "/usr/include/${library} is missing: run scripts/setup.sh")
    endif()
    file(CREATE_LINK /usr/include/${library} ${host_headers}/${library} SYMBOLIC)
  endforeach()
  add_library(Boost::headers INTERFACE IMPORTED)
  target_include_directories(Boost::headers SYSTEM INTERFACE ${host_headers})
  add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
  target_include_directories(nlohmann_json::nlohmann_json SYSTEM INTERFACE ${host_headers})
  add_library(CLI11::CLI11 INTERFACE IMPORTED)
  target_include_directories(CLI11::CLI11 SYSTEM INTERFACE ${host_headers})
else()
  find_package(Boost 1.74 REQUIRED)
  find_package(nlohmann_json 3.10 REQUIRED)
  find_package(CLI11 2.1 REQUIRED)
endif()
