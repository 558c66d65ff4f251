# Fails when clang-format would change any C++ file of the project.
file(GLOB_RECURSE files ${ROOT}/src/*.cpp ${ROOT}/src/*.h ${ROOT}/tests/*.cpp ${ROOT}/tests/*.h
     ${ROOT}/bench/*.cpp ${ROOT}/cmake/*.cpp ${ROOT}/tools/*.cpp)
set(bad "")
foreach(f ${files})
  execute_process(COMMAND ${CLANG_FORMAT} --dry-run -Werror ${f} RESULT_VARIABLE rc
                  OUTPUT_QUIET ERROR_QUIET)
  if(NOT rc EQUAL 0)
    list(APPEND bad ${f})
  endif()
endforeach()
if(bad)
  string(REPLACE ";" "\n  " bad "${bad}")
  message(FATAL_ERROR "Not clang-formatted (run clang-format -i):\n  ${bad}")
endif()
