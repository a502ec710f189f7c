# Debian packages, `cpack -G DEB` in the build folder:
#   plotara         the program, its manual page, the shared libraries, the chart movies and the
#                   sample database script (component Runtime)
#   libplotara-dev  headers, static libraries, the CMake package, pkg-config files, guides and
#                   API reference (component Development)
# The packages install into the prefix the build was configured with: configure with
# -DCMAKE_INSTALL_PREFIX=/usr for packages that follow the Debian layout.
set(CPACK_PACKAGE_NAME plotara)
set(CPACK_PACKAGE_VENDOR "The Plotara developers")
set(CPACK_PACKAGE_CONTACT "Plotara developers <plotara@localhost>")
# Each package's description starts with its own summary line (CPack would otherwise put this
# summary in front of it).
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY IGNORE)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_GENERATOR DEB)
# The packages carry no debugging information (the build tree keeps it).
set(CPACK_STRIP_FILES ON)
set(CPACK_COMPONENTS_ALL Runtime Development)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION libs)

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME plotara)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION graphics)
string(CONCAT CPACK_DEBIAN_RUNTIME_DESCRIPTION
  "charting component for C++ desktop applications\n"
  "The plotara program draws 37 chart types from CSV files, chart XML documents and\n"
  "SQLite or ODBC databases to PNG, SVG, PDF and BMP; with it come the shared Plotara\n"
  "libraries and the chart movie files they read.")
# dpkg-shlibdeps finds the outside libraries; the package's own libraries are looked up in it.
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SHLIBDEPS ON)
get_property(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS GLOBAL PROPERTY PLOTARA_SHARED_LIBRARY_DIRS)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libplotara-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
string(CONCAT CPACK_DEBIAN_DEVELOPMENT_DESCRIPTION
  "charting component for C++ desktop applications (development files)\n"
  "Headers, static libraries, the CMake package (find_package(Plotara)), pkg-config\n"
  "files, the guides and the API reference of the Plotara charting component.")
# What find_package(Plotara) and the pkg-config files find again, plus the runtime package.
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS
    "plotara (= ${PROJECT_VERSION}), libcairo2-dev, libpng-dev, zlib1g-dev, libharfbuzz-dev, libfreetype-dev, libfribidi-dev, libfontconfig-dev, libpugixml-dev, libsqlite3-dev, unixodbc-dev, pkg-config")

include(CPack)
