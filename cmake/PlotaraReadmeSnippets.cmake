# Every ```cpp block of README.md becomes a program and a test (readme_snippet_<n>), so the
# documented code cannot rot. A block without its own main() is wrapped: its #include lines stay
# at the top, the rest becomes the body of main. The test runs the program in an empty folder;
# it must exit 0, and every PNG it writes must hold a picture, not a blank page (ImageMagick's
# identify counts its colours).
function(plotara_readme_snippets readme)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${readme})
  file(STRINGS ${readme} lines)
  find_program(PLOTARA_IDENTIFY identify)
  set(inside FALSE)
  set(count 0)
  foreach(line IN LISTS lines)
    if(NOT inside AND line MATCHES "^```cpp *$")
      set(inside TRUE)
      set(includes "")
      set(body "")
    elseif(inside AND line MATCHES "^``` *$")
      set(inside FALSE)
      math(EXPR count "${count} + 1")
      _plotara_readme_snippet(${count} "${includes}" "${body}")
    elseif(inside AND line MATCHES "^#include")
      string(APPEND includes "${line}\n")
    elseif(inside)
      string(APPEND body "${line}\n")
    endif()
  endforeach()
  if(count EQUAL 0)
    message(FATAL_ERROR "${readme} holds no ```cpp block")
  endif()
endfunction()

function(_plotara_readme_snippet number includes body)
  set(name readme_snippet_${number})
  set(source "// Generated from README.md, C++ block ${number}.\n${includes}")
  if(body MATCHES "int main\\(")
    string(APPEND source "${body}")
  else()
    string(APPEND source "\nint main() {\n${body}    return 0;\n}\n")
  endif()
  # Written as it is (no variable substitution), and touched only when it changed.
  file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/readme/${name}.cpp.new "${source}")
  configure_file(${CMAKE_CURRENT_BINARY_DIR}/readme/${name}.cpp.new
                 ${CMAKE_CURRENT_BINARY_DIR}/readme/${name}.cpp COPYONLY)
  add_executable(${name} ${CMAKE_CURRENT_BINARY_DIR}/readme/${name}.cpp)
  # The names an installed package gives (Plotara::...), as a reader of the README would link.
  target_link_libraries(${name} PRIVATE Plotara::control Plotara::player
                                        Plotara::platform_headless)
  add_test(NAME ${name}
           COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:${name}>
                   -DFOLDER=${CMAKE_CURRENT_BINARY_DIR}/readme/${name}.run
                   -DIDENTIFY=${PLOTARA_IDENTIFY}
                   -P ${PROJECT_SOURCE_DIR}/cmake/RunReadmeSnippet.cmake)
endfunction()
