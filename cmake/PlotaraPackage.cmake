# The CMake package, the shared data, the manual page, the API reference and the Debian
# packages; included after the folders, when every library has called plotara_install_library.

# PlotaraConfig.cmake, its version file and the exported targets.
get_property(plotara_components GLOBAL PROPERTY PLOTARA_PACKAGE_COMPONENTS)
get_property(plotara_dependencies GLOBAL PROPERTY PLOTARA_CONFIG_DEPENDENCIES)
list(REMOVE_DUPLICATES plotara_dependencies)
list(JOIN plotara_components " " PLOTARA_COMPONENT_LIST)
list(JOIN plotara_dependencies "\n" PLOTARA_CONFIG_DEPENDENCY_CODE)
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/PlotaraConfig.cmake.in
  ${PROJECT_BINARY_DIR}/PlotaraConfig.cmake
  INSTALL_DESTINATION ${PLOTARA_INSTALL_CMAKEDIR}
  PATH_VARS PLOTARA_INSTALL_CHARTSDIR)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/PlotaraConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(EXPORT PlotaraTargets NAMESPACE Plotara:: DESTINATION ${PLOTARA_INSTALL_CMAKEDIR}
        FILE PlotaraTargets.cmake COMPONENT Development)
install(FILES ${PROJECT_BINARY_DIR}/PlotaraConfig.cmake
              ${PROJECT_BINARY_DIR}/PlotaraConfigVersion.cmake
        DESTINATION ${PLOTARA_INSTALL_CMAKEDIR} COMPONENT Development)
install(FILES ${PLOTARA_GENERATED_INCLUDE}/core/Version.h
        DESTINATION ${PLOTARA_INSTALL_INCLUDEDIR}/core COMPONENT Development)

# The chart movies, the sample database script and the guides.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/share/plotara/charts
        DESTINATION ${CMAKE_INSTALL_DATADIR}/plotara COMPONENT Runtime)
install(FILES ${PROJECT_SOURCE_DIR}/examples/sample.sql
        DESTINATION ${CMAKE_INSTALL_DATADIR}/plotara COMPONENT Runtime)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/CHANGELOG.md
        DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT Runtime)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/guides
        COMPONENT Development FILES_MATCHING PATTERN "*.md" PATTERN "*.png")
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/consumer/
        DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples/consumer COMPONENT Development)

include(PlotaraManPage)
include(PlotaraApiDocs)
# Packages only for Plotara built on its own, not inside a project that adds it as a folder.
if(CMAKE_SOURCE_DIR STREQUAL PROJECT_SOURCE_DIR)
  include(PlotaraCPack)
endif()
