# cmake -DPROGRAM=plotara -DHELP2MAN=help2man -DOUTPUT=plotara.1 -P MakeManPage.cmake
# The page is help2man's rendering of `plotara --help`, with a COMMANDS section that holds each
# command's own --help text verbatim.
get_filename_component(out_dir ${OUTPUT} DIRECTORY)
file(MAKE_DIRECTORY ${out_dir})
set(include_file ${OUTPUT}.h2m)

# Text shown as it is in roff: backslashes escaped, a leading dot or quote made literal.
function(roff_verbatim text out)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

set(page "[COMMANDS]\n")
foreach(command render gallery types)
  execute_process(COMMAND ${PROGRAM} ${command} --help OUTPUT_VARIABLE help
                  RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} ${command} --help failed (${status})")
  endif()
  roff_verbatim("${help}" help)
  string(APPEND page ".SS ${command}\n.nf\n${help}.fi\n")
endforeach()
string(APPEND page "[ENVIRONMENT]\n.TP\n.B PLOTARA_CHARTS\n"
       "The folder of the chart movie files, when no \\fB\\-\\-charts\\fR is given.\n"
       "[FILES]\n.TP\n.I share/plotara/charts\n"
       "The chart movie files, beside the program's bin folder.\n"
       ".TP\n.I share/plotara/sample.sql\n"
       "The sample database script (the program carries its own copy for \\fB\\-\\-sql\\fR "
       "without \\fB\\-\\-db\\fR).\n")
file(WRITE ${include_file} "${page}")
execute_process(
  COMMAND ${HELP2MAN} --no-info --no-discard-stderr --section=1
          "--name=charts from files and databases in one command"
          --include=${include_file} --output=${OUTPUT}.tmp ${PROGRAM}
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "help2man failed (${status})")
endif()
file(RENAME ${OUTPUT}.tmp ${OUTPUT})
