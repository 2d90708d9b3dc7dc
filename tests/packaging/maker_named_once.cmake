# The AppStream metainfo, as the build writes it: its developer name must be the maker that the
# build names everywhere else (Info box, program file, packages, uninstall entry).
#   cmake -DMETAINFO=FILE -DMAKER=NAME -P maker_named_once.cmake
file(READ "${METAINFO}" metainfo)
if(NOT metainfo MATCHES "<developer_name>([^<]*)</developer_name>")
  message(FATAL_ERROR "${METAINFO} names no developer")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL MAKER)
  message(FATAL_ERROR "${METAINFO} names \"${CMAKE_MATCH_1}\" as developer; the maker is \"${MAKER}\"")
endif()
