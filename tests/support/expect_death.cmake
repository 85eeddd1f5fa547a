# Runs PROGRAM with ARG (under EMULATOR when one is set) and expects a
# hardened-mode check to stop it: an abnormal end, and stderr starting with
# the line "FILE:LINE: plinth: precondition failed: CONDITION". (qemu may add
# its own line about the signal after it.)
execute_process(COMMAND ${EMULATOR} ${PROGRAM} ${ARG} RESULT_VARIABLE rc ERROR_VARIABLE err)
string(REGEX REPLACE "([][+.*()^$?|\\\\])" "\\\\\\1" condition "${CONDITION}")
if(rc STREQUAL "0" OR NOT err MATCHES "^[^\n]+:[0-9]+: plinth: precondition failed: ${condition}\n")
  message(FATAL_ERROR "${PROGRAM} ${ARG}: exit status ${rc}, stderr [${err}]")
endif()
