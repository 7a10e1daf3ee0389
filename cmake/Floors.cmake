# The standard headers nearly every source file includes, parsed once per target.
set(PW_PRECOMPILED_HEADERS <algorithm> <cstdint> <cstring> <functional> <map> <memory> <optional> <string> <vector>)

# Each folder under src/ is one floor: a library that links only the floors below it.
# Floors are shared libraries: classes register themselves from static initialisers, and a shared
# library runs every one of its initialisers, where a static archive would drop unreferenced ones.

set(PW_ALL_FLOORS platform foundation graphics ui engine authoring export net app)

# pw_add_floor(<name> SOURCES <files...> DEPENDS <floors...>)
function(pw_add_floor name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_library(pw_${name} SHARED ${ARG_SOURCES})
  target_include_directories(pw_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_precompile_headers(pw_${name} PRIVATE ${PW_PRECOMPILED_HEADERS})
  foreach(dep IN LISTS ARG_DEPENDS)
    target_link_libraries(pw_${name} PUBLIC pw_${dep})
  endforeach()
endfunction()

# pw_link_floors(<target> <floors...>)
function(pw_link_floors target)
  foreach(floor IN LISTS ARGN)
    target_link_libraries(${target} PRIVATE pw_${floor})
  endforeach()
endfunction()
