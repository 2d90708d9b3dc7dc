# Installation. On Linux by the freedesktop conventions: the program, its GUI
# library and History.txt live together in lib/zarnolith (the program looks for
# its files beside its own executable); bin/zarnolith is a symbolic link to it.
# On Windows one folder holds everything (cmake/WindowsPackage.cmake).
include(GNUInstallDirs)
# Installing (and packaging) takes what the build made; it does not build everything first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/WindowsPackage.cmake)
  return()
endif()

set(ZARNOLITH_PRIVATE_DIR lib/zarnolith)

install(TARGETS zarnolith RUNTIME DESTINATION ${ZARNOLITH_PRIVATE_DIR})
install(TARGETS zarnolith_gui LIBRARY DESTINATION ${ZARNOLITH_PRIVATE_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/data/History.txt DESTINATION ${ZARNOLITH_PRIVATE_DIR})
install(CODE [[
  set(link "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/bin/zarnolith")
  file(MAKE_DIRECTORY "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/bin")
  file(REMOVE "${link}")
  file(CREATE_LINK ../lib/zarnolith/zarnolith "${link}" SYMBOLIC)
  message(STATUS "Installing: ${link} -> ../lib/zarnolith/zarnolith")
]])

install(FILES ${PROJECT_SOURCE_DIR}/data/zarnolith.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/icons/zarnolith.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${ZARNOLITH_METAINFO_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# A Debian package: cpack -G DEB in the build directory.
set(CPACK_PACKAGE_NAME zarnolith)
set(CPACK_PACKAGE_VENDOR "${ZARNOLITH_MAKER}")
set(CPACK_PACKAGE_CONTACT "${ZARNOLITH_MAKER} <${ZARNOLITH_MAKER_MAIL}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Bildpixel-Rechner: neue Bildbreite und -höhe mit gleichen Proportionen")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, qt6-translations-l10n")
include(CPack)
