# ZARNOLITH_COMPILER_RELEASE: the C++ compiler's release as its makers number it, for the Info box.
# Usually the version CMake reads from the compiler's macros. Debian's MinGW-w64 cross compilers
# are built with the version text "12-posix", so their macros say 12.0.0, a number no GCC release
# has (a major version's first release is .1): there the Debian package the compiler comes from
# tells the release (12.2.0-14+deb12u1+25.2+b1 -> 12.2.0).
set(ZARNOLITH_COMPILER_RELEASE "${CMAKE_CXX_COMPILER_VERSION}")
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION MATCHES "^[0-9]+\\.0(\\.0)?$")
  find_program(ZARNOLITH_DPKG_QUERY dpkg-query)
  file(REAL_PATH "${CMAKE_CXX_COMPILER}" _zarnolith_cxx)
  set(_zarnolith_package "")
  if(ZARNOLITH_DPKG_QUERY)
    execute_process(COMMAND ${ZARNOLITH_DPKG_QUERY} -S "${_zarnolith_cxx}"
      OUTPUT_VARIABLE _zarnolith_package ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
  endif()
  # "g++-mingw-w64-x86-64-posix: /usr/bin/x86_64-w64-mingw32-g++-posix"
  string(REGEX REPLACE ":.*" "" _zarnolith_package "${_zarnolith_package}")
  set(_zarnolith_package_version "")
  if(_zarnolith_package)
    execute_process(COMMAND ${ZARNOLITH_DPKG_QUERY} -W -f=\${Version} ${_zarnolith_package}
      OUTPUT_VARIABLE _zarnolith_package_version ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
  endif()
  # An epoch ("1:") first, the upstream release, then the Debian revision; the same major version.
  string(REGEX MATCH "^[0-9]+" _zarnolith_major "${CMAKE_CXX_COMPILER_VERSION}")
  if(_zarnolith_package_version MATCHES "^([0-9]+:)?(${_zarnolith_major}\\.[0-9]+(\\.[0-9]+)?)")
    set(ZARNOLITH_COMPILER_RELEASE "${CMAKE_MATCH_2}")
  endif()
endif()
message(STATUS "Compiler release named in the Info box: ${CMAKE_CXX_COMPILER_ID} ${ZARNOLITH_COMPILER_RELEASE}")
