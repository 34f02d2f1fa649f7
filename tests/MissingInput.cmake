# Stands in for a test whose tool was not found when the build was configured: run by hand it is
# skipped with the reason, under scripts/test.sh (QUARNEL_REQUIRE_INPUTS=1) it fails, so that a
# test missing from the run is never mistaken for one that passed.
# Usage: cmake -DTEST=<name> -DMISSING=<what is missing> -P MissingInput.cmake
if("$ENV{QUARNEL_REQUIRE_INPUTS}" STREQUAL "1")
  message(FATAL_ERROR "${TEST}: not run, ${MISSING} was not found when the build was configured")
endif()
message("skipped: ${TEST}: ${MISSING} was not found when the build was configured")
