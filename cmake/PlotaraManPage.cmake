# plotara.1 from the program's own --help texts (help2man, when it is installed).
find_program(PLOTARA_HELP2MAN help2man)
if(NOT TARGET plotara)
  return()
endif()
if(NOT PLOTARA_HELP2MAN)
  message(STATUS "help2man not found: the manual page plotara.1 is not built")
  return()
endif()
set(plotara_man_page ${PROJECT_BINARY_DIR}/man/plotara.1)
add_custom_command(
  OUTPUT ${plotara_man_page}
  COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:plotara> -DHELP2MAN=${PLOTARA_HELP2MAN}
          -DOUTPUT=${plotara_man_page} -P ${CMAKE_CURRENT_LIST_DIR}/MakeManPage.cmake
  DEPENDS plotara ${CMAKE_CURRENT_LIST_DIR}/MakeManPage.cmake
  COMMENT "Writing the manual page plotara.1"
  VERBATIM)
add_custom_target(plotara_man_page ALL DEPENDS ${plotara_man_page})
install(FILES ${plotara_man_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT Runtime)
