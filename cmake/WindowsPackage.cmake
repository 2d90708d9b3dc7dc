# The Windows packages. One folder holds everything the program needs, so it runs wherever it is
# unpacked: the launcher zarnolith.exe, zarnolith-gui.dll, the DLLs these import (Qt's and the
# compiler's runtime, found by walking the import tables, so the list cannot drift from what the
# program links), the two Qt plugins the program loads at run time (the Windows platform and the
# native style), the toolkit's German texts and History.txt.
#
#   cpack -G ZIP    zarnolith-1.01-win64.zip
#   cpack -G NSIS   zarnolith-1.01-win64-setup.exe: per-user installer (cmake/nsis/NSIS.template.in)

install(TARGETS zarnolith RUNTIME DESTINATION .)
install(TARGETS zarnolith_gui RUNTIME DESTINATION . LIBRARY DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/data/History.txt DESTINATION .)

# Qt loads its plugins by name, no import table names them: these two are what a Widgets program
# on the Windows desktop uses. Their own imports are walked below with the program's.
set(zarnolith_plugin_files)
foreach(plugin Qt6::QWindowsIntegrationPlugin Qt6::QWindowsVistaStylePlugin)
  get_target_property(plugin_file ${plugin} IMPORTED_LOCATION_RELEASE)
  get_target_property(plugin_type ${plugin} QT_PLUGIN_TYPE)
  install(FILES ${plugin_file} DESTINATION ${plugin_type})
  list(APPEND zarnolith_plugin_files ${plugin_file})
endforeach()

# The toolkit's own texts (standard buttons, context menus) in German: Debian's catalogue of the
# same Qt version; qt.conf tells Qt to look for it beside the program, not in the build machine's Qt.
find_file(ZARNOLITH_QTBASE_DE qtbase_de.qm PATHS /usr/share/qt6/translations NO_DEFAULT_PATH
  NO_CMAKE_FIND_ROOT_PATH)
if(NOT ZARNOLITH_QTBASE_DE)
  message(FATAL_ERROR "qtbase_de.qm not found (Debian package qt6-translations-l10n)")
endif()
install(FILES ${ZARNOLITH_QTBASE_DE} DESTINATION translations)
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/qt.conf "[Paths]\nPrefix = .\nTranslations = translations\n")
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/qt.conf DESTINATION .)

# The DLLs the program, its GUI library and the plugins import, and what those import in turn,
# read with objdump -p. A DLL found in Qt's folder (which also holds the compiler's stripped
# runtime) is packed; one found nowhere must be part of Windows itself, which MinGW-w64 ships an
# import library for (kernel32, user32, dwmapi, ...). Anything else stops the installation.
# CMake looks the imported names up in lower case, as Windows would; here the file system is not
# case-blind, so it looks in a folder of lower-case links to Qt's DLLs and packs their targets.
if(NOT CMAKE_OBJDUMP)
  message(FATAL_ERROR "objdump of the cross toolchain not found")
endif()
set(zarnolith_dll_links ${CMAKE_CURRENT_BINARY_DIR}/windows-dlls)
file(REMOVE_RECURSE ${zarnolith_dll_links})
file(MAKE_DIRECTORY ${zarnolith_dll_links})
file(GLOB zarnolith_qt_dlls ${ZARNOLITH_WIN64_QT_DIR}/bin/*.dll)
foreach(dll IN LISTS zarnolith_qt_dlls)
  get_filename_component(name ${dll} NAME)
  string(TOLOWER ${name} name)
  file(CREATE_LINK ${dll} ${zarnolith_dll_links}/${name} SYMBOLIC)
endforeach()
install(CODE "
  set(CMAKE_GET_RUNTIME_DEPENDENCIES_PLATFORM windows+pe)
  set(CMAKE_GET_RUNTIME_DEPENDENCIES_TOOL objdump)
  set(CMAKE_GET_RUNTIME_DEPENDENCIES_COMMAND \"${CMAKE_OBJDUMP}\")
  file(GET_RUNTIME_DEPENDENCIES
    RESOLVED_DEPENDENCIES_VAR found
    UNRESOLVED_DEPENDENCIES_VAR unresolved
    EXECUTABLES \"$<TARGET_FILE:zarnolith>\"
    LIBRARIES \"$<TARGET_FILE:zarnolith_gui>\"
    MODULES ${zarnolith_plugin_files}
    DIRECTORIES \"${zarnolith_dll_links}\"
    PRE_EXCLUDE_REGEXES \"^api-ms-\" \"^ext-ms-\")
  foreach(dll IN LISTS unresolved)
    string(REGEX REPLACE \"\\\\.dll\$\" \"\" name \"\${dll}\")
    if(NOT EXISTS \"/usr/x86_64-w64-mingw32/lib/lib\${name}.a\")
      message(FATAL_ERROR \"\${dll} is imported but neither in Qt's folder nor part of Windows\")
    endif()
  endforeach()
  set(packed)
  foreach(link IN LISTS found)
    file(REAL_PATH \"\${link}\" dll)
    list(APPEND packed \"\${dll}\")
  endforeach()
  file(INSTALL DESTINATION \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\" TYPE SHARED_LIBRARY FILES \${packed})
")

set(CPACK_PACKAGE_NAME Zarnolith)
set(CPACK_PACKAGE_VENDOR "${ZARNOLITH_MAKER}")
set(CPACK_PACKAGE_CONTACT "${ZARNOLITH_MAKER} <${ZARNOLITH_MAKER_MAIL}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Bildpixel-Rechner: neue Bildbreite und -höhe mit gleichen Proportionen")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME zarnolith-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Zarnolith)
set(CPACK_GENERATOR ZIP)
set(CPACK_STRIP_FILES ON)

# The installer: the project's own template (per user, German, the uninstall entry under HKCU).
set(CPACK_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR}/nsis)
set(CPACK_NSIS_DISPLAY_NAME "Zarnolith V${PROJECT_VERSION}")
set(CPACK_NSIS_PACKAGE_NAME "Zarnolith V${PROJECT_VERSION}")
set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
# The program's icon (src/CMakeLists.txt makes it) on the installer and the uninstaller too.
set(CPACK_NSIS_MUI_ICON ${ZARNOLITH_WINDOWS_ICON})
set(CPACK_NSIS_MUI_UNIICON ${ZARNOLITH_WINDOWS_ICON})
# The installer's file name says what it is; the zip keeps the plain name, and its folder.
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/CPackPerGenerator.cmake
  "if(CPACK_GENERATOR STREQUAL \"NSIS\")\n"
  "  set(CPACK_PACKAGE_FILE_NAME zarnolith-${PROJECT_VERSION}-win64-setup)\n"
  "  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)\n"
  "endif()\n")
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_BINARY_DIR}/CPackPerGenerator.cmake)
include(CPack)
