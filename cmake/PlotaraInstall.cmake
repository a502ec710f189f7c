# Install layout and library packaging, included before the folders are added.
#
# Every folder library is built once, as position-independent objects: the folder's own target
# (plotara_core, ...) is the static library that the tree's programs and tests link, and a twin
# plotara_core_shared links the same objects into libplotara_core.so.<major>. Both are installed
# and exported: Plotara::core is the shared library, Plotara::core_static the static one. In a
# build tree (add_subdirectory) both names are aliases of the folder's target.
set(CMAKE_INSTALL_DOCDIR share/doc/plotara CACHE PATH "Documentation (share/doc/plotara)")
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(CMAKE_POSITION_INDEPENDENT_CODE ON)

# Where the installed pieces go, relative to the install prefix.
set(PLOTARA_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/plotara)
set(PLOTARA_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/Plotara)
set(PLOTARA_INSTALL_CHARTSDIR ${CMAKE_INSTALL_DATADIR}/plotara/charts)

# The version header: PLOTARA_VERSION and its parts, from project(Plotara VERSION ...).
set(PLOTARA_GENERATED_INCLUDE ${PROJECT_BINARY_DIR}/include)
configure_file(${CMAKE_CURRENT_LIST_DIR}/Version.h.in ${PLOTARA_GENERATED_INCLUDE}/core/Version.h
               @ONLY)

# Where defaultChartFolder() (player/ChartFolder.cpp) looks: the build tree and its source
# charts, the chart folder relative to an installed library, and the configured install prefix.
file(RELATIVE_PATH plotara_charts_from_libdir ${CMAKE_INSTALL_FULL_LIBDIR}
     ${CMAKE_INSTALL_FULL_DATADIR}/plotara/charts)
set(PLOTARA_CHART_FOLDER_DEFINITIONS
  PLOTARA_BUILD_TREE="${PROJECT_BINARY_DIR}"
  PLOTARA_SOURCE_CHARTS="${PROJECT_SOURCE_DIR}/share/plotara/charts"
  PLOTARA_CHARTS_FROM_LIBDIR="${plotara_charts_from_libdir}"
  PLOTARA_INSTALLED_CHARTS="${CMAKE_INSTALL_FULL_DATADIR}/plotara/charts")

# plotara_install_library(TARGET NAME [HEADERS_FROM DIR] [PC_REQUIRES mods...]
#                         [PC_REQUIRES_PRIVATE mods...] [PC_LIBS_PRIVATE flags...]
#                         [CONFIG_DEPENDENCY "cmake code"...])
# Installs the folder library TARGET as Plotara::NAME (shared) and Plotara::NAME_static, its
# headers (every .h under HEADERS_FROM, default the current folder, without sub-folders that hold
# their own CMakeLists.txt), a pkg-config file plotara-NAME.pc, and records the CMake code the
# package configuration runs to find the library's outside dependencies again. The shared twin
# is made when the folder has been read completely, so target_link_libraries calls after this
# one are carried over.
function(plotara_install_library target name)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "HEADERS_FROM"
                        "PC_REQUIRES;PC_REQUIRES_PRIVATE;PC_LIBS_PRIVATE;CONFIG_DEPENDENCY")
  if(NOT arg_HEADERS_FROM)
    set(arg_HEADERS_FROM ${CMAKE_CURRENT_SOURCE_DIR})
  endif()
  add_library(Plotara::${name} ALIAS ${target})
  add_library(Plotara::${name}_static ALIAS ${target})
  set_property(GLOBAL APPEND PROPERTY PLOTARA_PACKAGE_COMPONENTS ${name})
  set_property(GLOBAL APPEND PROPERTY PLOTARA_CONFIG_DEPENDENCIES ${arg_CONFIG_DEPENDENCY})
  set_target_properties(${target} PROPERTIES
    PLOTARA_PACKAGE_NAME ${name} PLOTARA_PC_REQUIRES "${arg_PC_REQUIRES}"
    PLOTARA_PC_REQUIRES_PRIVATE "${arg_PC_REQUIRES_PRIVATE}"
    PLOTARA_PC_LIBS_PRIVATE "${arg_PC_LIBS_PRIVATE}")

  _plotara_install_headers(${arg_HEADERS_FROM})
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    set_target_properties(${target} PROPERTIES EXPORT_NAME ${name})
    install(TARGETS ${target} EXPORT PlotaraTargets)
  elseif(type STREQUAL "SHARED_LIBRARY")
    # Built shared already (BUILD_SHARED_LIBS): that library is Plotara::NAME, there is no twin.
    set_target_properties(${target} PROPERTIES EXPORT_NAME ${name}
      VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR} INSTALL_RPATH "$ORIGIN")
    install(TARGETS ${target} EXPORT PlotaraTargets
            LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Runtime
                    NAMELINK_COMPONENT Development)
  else()
    set_target_properties(${target} PROPERTIES EXPORT_NAME ${name}_static
                                               PLOTARA_SHARED_TWIN ${target}_shared)
    install(TARGETS ${target} EXPORT PlotaraTargets
            ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Development)
    _plotara_defer(_plotara_make_shared_twin ${target} ${name})
  endif()
  _plotara_defer(_plotara_write_pkg_config ${target} ${name})
endfunction()

# Calls a function with these arguments when the current folder has been read (the arguments of a
# deferred call are otherwise evaluated only then, when this function's variables are gone).
function(_plotara_defer function)
  set(arguments)
  foreach(argument IN LISTS ARGN)
    string(APPEND arguments " [==[${argument}]==]")
  endforeach()
  cmake_language(EVAL CODE "cmake_language(DEFER CALL ${function}${arguments})")
endfunction()

# Installs the headers of one folder under include/plotara/<folder relative to the root>. Headers
# under a detail/ folder, and headers that include one, are the module's own: no installed header
# includes them, so they stay out of the package.
function(_plotara_install_headers dir)
  file(RELATIVE_PATH relative ${PROJECT_SOURCE_DIR} ${dir})
  file(GLOB_RECURSE headers RELATIVE ${dir} CONFIGURE_DEPENDS ${dir}/*.h)
  foreach(header IN LISTS headers)
    get_filename_component(sub ${header} DIRECTORY)
    # A sub-folder with its own CMakeLists.txt is a library of its own and installs itself.
    set(owner ${sub})
    set(owned_elsewhere FALSE)
    while(owner)
      if(EXISTS ${dir}/${owner}/CMakeLists.txt)
        set(owned_elsewhere TRUE)
      endif()
      get_filename_component(owner ${owner} DIRECTORY)
    endwhile()
    # A header that includes a detail/ header belongs to its module's engine as well.
    file(STRINGS ${dir}/${header} detail_includes REGEX "#include \"[^\"]*/detail/")
    if(NOT owned_elsewhere AND NOT header MATCHES "(^|/)detail/" AND NOT detail_includes)
      install(FILES ${dir}/${header} DESTINATION ${PLOTARA_INSTALL_INCLUDEDIR}/${relative}/${sub}
              COMPONENT Development)
    endif()
  endforeach()
endfunction()

# A list property of a target, empty when it is not set.
function(_plotara_target_list out target property)
  get_target_property(value ${target} ${property})
  if(NOT value)
    set(value "")
  endif()
  set(${out} "${value}" PARENT_SCOPE)
endfunction()

# Maps the link items of a folder library to those of its shared twin.
function(_plotara_twin_items out)
  set(items)
  foreach(item IN LISTS ARGN)
    # Private items of a static library and the scope markers of calls from other folders.
    if(item MATCHES "^\\$<LINK_ONLY:" OR item MATCHES "^::@")
      continue()
    endif()
    if(TARGET ${item})
      get_target_property(twin ${item} PLOTARA_SHARED_TWIN)
      if(twin)
        set(item ${twin})
      endif()
    endif()
    list(APPEND items ${item})
  endforeach()
  set(${out} ${items} PARENT_SCOPE)
endfunction()

function(_plotara_make_shared_twin target name)
  set(twin ${target}_shared)
  add_library(${twin} SHARED $<TARGET_OBJECTS:${target}>)
  set_target_properties(${twin} PROPERTIES
    OUTPUT_NAME ${target} EXPORT_NAME ${name}
    VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR}
    INSTALL_RPATH "$ORIGIN")
  foreach(property INCLUDE_DIRECTORIES COMPILE_DEFINITIONS COMPILE_FEATURES COMPILE_OPTIONS)
    get_target_property(value ${target} INTERFACE_${property})
    if(value)
      set_property(TARGET ${twin} PROPERTY INTERFACE_${property} "${value}")
    endif()
  endforeach()
  _plotara_target_list(all ${target} LINK_LIBRARIES)
  _plotara_target_list(public ${target} INTERFACE_LINK_LIBRARIES)
  _plotara_twin_items(all ${all})
  _plotara_twin_items(public ${public})
  target_link_libraries(${twin} PRIVATE ${all} INTERFACE ${public})
  set_property(GLOBAL APPEND PROPERTY PLOTARA_SHARED_LIBRARY_DIRS ${CMAKE_CURRENT_BINARY_DIR})
  install(TARGETS ${twin} EXPORT PlotaraTargets
          LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Runtime
                  NAMELINK_COMPONENT Development)
endfunction()

# plotara-NAME.pc: the folder's library with its plotara and outside dependencies.
function(_plotara_write_pkg_config target name)
  _plotara_target_list(links ${target} LINK_LIBRARIES)
  _plotara_target_list(requires ${target} PLOTARA_PC_REQUIRES)
  _plotara_target_list(requires_private ${target} PLOTARA_PC_REQUIRES_PRIVATE)
  _plotara_target_list(libs_private ${target} PLOTARA_PC_LIBS_PRIVATE)
  file(RELATIVE_PATH PC_PREFIX /root/${CMAKE_INSTALL_LIBDIR}/pkgconfig /root)
  string(REGEX REPLACE "/$" "" PC_PREFIX "${PC_PREFIX}")
  foreach(item IN LISTS links)
    if(TARGET ${item})
      get_target_property(dependency ${item} PLOTARA_PACKAGE_NAME)
      if(dependency)
        list(APPEND requires plotara-${dependency})
      endif()
    endif()
  endforeach()
  get_target_property(type ${target} TYPE)
  set(PC_NAME ${name})
  set(PC_LIBS "")
  if(NOT type STREQUAL "INTERFACE_LIBRARY")
    set(PC_LIBS "-L\${libdir} -l${target}")
  endif()
  list(JOIN requires " " PC_REQUIRES)
  list(JOIN requires_private " " PC_REQUIRES_PRIVATE)
  list(JOIN libs_private " " PC_LIBS_PRIVATE)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/plotara.pc.in
                 ${PROJECT_BINARY_DIR}/pkgconfig/plotara-${name}.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/pkgconfig/plotara-${name}.pc
          DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT Development)
endfunction()
