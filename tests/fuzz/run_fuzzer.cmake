# Runs one fuzz target for a bounded time and fails on a finding.
#   FUZZER  the libFuzzer program        NAME    the target's name
#   INPUTS  its seed and regression folders (read only)
#   DICT    its dictionary, if the file exists
#   WORK    a folder of the build for the corpus it grows and its findings
# DAQ_FUZZ_SECONDS in the environment sets the time (default 60 s).
set(seconds 60)
if(DEFINED ENV{DAQ_FUZZ_SECONDS})
  set(seconds $ENV{DAQ_FUZZ_SECONDS})
endif()
file(MAKE_DIRECTORY ${WORK}/corpus ${WORK}/findings)
set(log ${WORK}/fuzz.log)
set(options -max_total_time=${seconds} -timeout=30 -print_final_stats=1
            -artifact_prefix=${WORK}/findings/)
if(EXISTS ${DICT})
  list(APPEND options -dict=${DICT})
endif()
# The grown corpus comes first: libFuzzer writes new inputs there only.
execute_process(COMMAND ${FUZZER} ${options} ${WORK}/corpus ${INPUTS}
                RESULT_VARIABLE result OUTPUT_FILE ${log} ERROR_FILE ${log})
file(STRINGS ${log} done REGEX "^Done [0-9]+ runs")
file(STRINGS ${log} stats REGEX "^stat::(number_of_executed_units|peak_rss_mb)")
if(result EQUAL 0 AND done)
  string(REPLACE ";" ", " stats "${stats}")
  string(REGEX REPLACE "stat::([a-z_]+): +" "\\1 " stats "${stats}")
  message("${NAME}: ${done} without a finding (${stats})")
  return()
endif()
# The report without libFuzzer's progress lines.
file(READ ${log} report)
string(REGEX REPLACE "(#[0-9]+\t[A-Z_]+ +cov|\tNEW_FUNC|INFO: )[^\n]*\n" "" report "${report}")
message("${report}")
message(FATAL_ERROR "${NAME}: a finding (exit ${result}); the input is in ${WORK}/findings/ "
                    "(and as Base64 above). Once it is fixed, add the input to "
                    "tests/fuzz/regressions/${NAME}/.")
