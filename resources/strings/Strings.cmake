# The string-table sources, compiled into the platform floor by tools/stringtable.
# Add a new file here (keep the list sorted); the build never globs for them.
set(PW_STRING_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/application.txt
  ${CMAKE_CURRENT_LIST_DIR}/authoring.txt
  ${CMAKE_CURRENT_LIST_DIR}/framework.txt
  ${CMAKE_CURRENT_LIST_DIR}/graphics.txt
  ${CMAKE_CURRENT_LIST_DIR}/program.txt
)
