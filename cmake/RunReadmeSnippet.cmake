# cmake -DPROGRAM=snippet -DFOLDER=dir [-DIDENTIFY=identify] -P RunReadmeSnippet.cmake
# Runs a README snippet in an empty folder; fails when it exits non-zero, and when a PNG it wrote
# has a single colour (a blank picture, what a player without its chart draws).
file(REMOVE_RECURSE ${FOLDER})
file(MAKE_DIRECTORY ${FOLDER})
execute_process(COMMAND ${PROGRAM} WORKING_DIRECTORY ${FOLDER} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} exited with ${status}")
endif()
file(GLOB pictures ${FOLDER}/*.png)
foreach(picture IN LISTS pictures)
  if(NOT IDENTIFY)
    message(FATAL_ERROR "ImageMagick's identify is needed to check ${picture}")
  endif()
  execute_process(COMMAND ${IDENTIFY} -format %k ${picture} OUTPUT_VARIABLE colours
                  RESULT_VARIABLE status)
  if(NOT status EQUAL 0 OR NOT colours MATCHES "^[0-9]+$")
    message(FATAL_ERROR "${picture} is not a readable PNG")
  endif()
  if(colours LESS 2)
    message(FATAL_ERROR "${picture} is blank (${colours} colour)")
  endif()
  message(STATUS "${picture}: ${colours} colours")
endforeach()
