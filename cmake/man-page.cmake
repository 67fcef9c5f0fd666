# Writes the manual page of cube-solver from its own help: help2man turns the top-level help
# into the page, and the help of each command is added as a section of its own.
# Run as: cmake -DSOLVER=... -DOUTPUT=... -DHELP2MAN=... -P man-page.cmake
foreach(command solve batch merge)
  execute_process(COMMAND ${SOLVER} ${command} --help OUTPUT_VARIABLE help RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${SOLVER} ${command} --help failed")
  endif()
  string(TOUPPER "${command}" title)
  string(REPLACE "\\" "\\\\" help "${help}")
  string(APPEND sections "[COMMAND ${title}]\n.nf\n${help}\n.fi\n")
endforeach()
file(WRITE ${OUTPUT}.include "${sections}")
execute_process(
  COMMAND ${HELP2MAN} --no-info --no-discard-stderr
          --name "solve a scrambled 3x3x3 cube with a genetic search"
          --include ${OUTPUT}.include --output ${OUTPUT} ${SOLVER}
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "help2man failed")
endif()
