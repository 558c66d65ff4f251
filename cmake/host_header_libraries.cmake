# CLI11 and nlohmann-json for a cross build: header-only, so the build machine's copies serve,
# staged in a folder of their own so that no other host header comes along.
set(staged ${PROJECT_BINARY_DIR}/host-headers)
file(MAKE_DIRECTORY ${staged})
foreach(library CLI nlohmann)
  if(NOT EXISTS /usr/include/${library})
    message(FATAL_ERROR "/usr/include/${library} is missing: install libcli11-dev and nlohmann-json3-dev")
  endif()
  file(CREATE_LINK /usr/include/${library} ${staged}/${library} SYMBOLIC)
endforeach()
add_library(CLI11::CLI11 INTERFACE IMPORTED)
target_include_directories(CLI11::CLI11 SYSTEM INTERFACE ${staged})
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
target_include_directories(nlohmann_json::nlohmann_json SYSTEM INTERFACE ${staged})
