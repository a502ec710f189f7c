# The plotara program linked against Debian's static archives of the libraries it draws and reads
# databases with (cairo and the pixman, X11 and xcb libraries under it, libpng, zlib, FreeType,
# fontconfig, expat, FriBidi, pugixml, SQLite, unixODBC) and against the C++ runtime statically.
# A process then loads 14 shared libraries instead of 34, and a small chart is drawn about 3 ms
# sooner (docs/performance.md). HarfBuzz has no static archive in Debian and stays shared (with
# GLib and graphite2 under it). The trade-off: the program no longer follows Debian's updates of
# those libraries until it is rebuilt; the plotara libraries, plotara-view, the tests and the
# benchmarks keep linking the shared ones.
#
# Usage: plotara_link_static_deps(TARGET LIBRARY...), where LIBRARY... are the plotara libraries
# the program links (names that are not targets are skipped); with PLOTARA_STATIC_DEPS OFF, or when an archive is missing, it does nothing.

if(PLOTARA_SANITIZE)
  set(plotara_static_deps_default OFF)
else()
  set(plotara_static_deps_default ON)
endif()
option(PLOTARA_STATIC_DEPS
       "Link the plotara program against the static archives of cairo, FreeType, SQLite and the rest"
       ${plotara_static_deps_default})

# The archives in no particular order: the link resolves them as one group.
set(PLOTARA_STATIC_ARCHIVES
    cairo pixman-1 png16 z fontconfig freetype expat bz2 brotlidec brotlicommon
    xcb-shm xcb-render xcb Xrender Xext X11 Xau Xdmcp
    fribidi pugixml sqlite3 odbc ltdl)

function(plotara_link_static_deps target)
  if(NOT PLOTARA_STATIC_DEPS)
    return()
  endif()
  set(archives)
  foreach(name IN LISTS PLOTARA_STATIC_ARCHIVES)
    find_library(PLOTARA_STATIC_${name} NAMES lib${name}.a)
    if(NOT PLOTARA_STATIC_${name})
      message(STATUS "lib${name}.a not found: ${target} links the shared libraries")
      return()
    endif()
    list(APPEND archives ${PLOTARA_STATIC_${name}})
  endforeach()
  set(plotara_archives)
  foreach(library IN LISTS ARGN)
    if(TARGET ${library}) # plotara_platform_odbc is only built where unixODBC is installed
      list(APPEND plotara_archives $<TARGET_FILE:${library}>)
    endif()
  endforeach()
  # The group comes right after the program's own objects, so every symbol the plotara libraries
  # need is taken from an archive; the shared libraries that the plotara libraries name further
  # down the line then provide nothing and --as-needed leaves them out of the program.
  target_link_libraries(${target} PRIVATE -Wl,--start-group ${plotara_archives} ${archives}
                                          -Wl,--end-group)
  target_link_options(${target} PRIVATE -Wl,--as-needed -static-libstdc++ -static-libgcc)
  message(STATUS "${target}: linked against static archives (PLOTARA_STATIC_DEPS)")
endfunction()
