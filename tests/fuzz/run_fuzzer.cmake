# Runs one fuzz target for SECONDS over a copy of its seeds (and what earlier runs added to the
# copy). A crash, a hang or a broken rule fails the test, and the input is kept beside ARTIFACTS.
file(MAKE_DIRECTORY ${CORPUS})
file(GLOB seeds ${SEEDS}/*)
file(COPY ${seeds} DESTINATION ${CORPUS})
get_filename_component(artifactFolder ${ARTIFACTS} DIRECTORY)
file(MAKE_DIRECTORY ${artifactFolder})
execute_process(COMMAND ${FUZZER} -max_total_time=${SECONDS} -timeout=10 -print_final_stats=1
                        -artifact_prefix=${ARTIFACTS} ${CORPUS}
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${FUZZER} failed (${result}): the input is kept as ${ARTIFACTS}*")
endif()
