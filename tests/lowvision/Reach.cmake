# Reach: every window at every display font from 8 to 72 points, at display
# scales 1, 1.5, 2 and 3, on a 1920 x 1080 screen with a real window manager
# (openbox): inside the work area, every control reachable, nothing covered,
# no text cut. One process per scale. Then screens whose size the scale does
# not divide (1366 device pixels at 1.5 are 910.67 scaled pixels, which Qt
# rounds to 911): a window that fills the work area as Qt rounds it sticks
# out of the screen by a device pixel. At 1.75 and 2.5 the rounding falls on
# the other side in one direction (1024 / 2.5 = 409.6).
add_executable(test_lowvision_reach ReachTest.cpp)
target_link_libraries(test_lowvision_reach PRIVATE zarnolith_forms zarnolith_test_main xcb)
target_include_directories(test_lowvision_reach PRIVATE ${PROJECT_SOURCE_DIR}/tests)
foreach(scale 1 1.5 2 3)
  add_test(NAME lowvision.reach_scale_${scale}
    COMMAND ${PROJECT_SOURCE_DIR}/tests/support/with-desktop.sh openbox $<TARGET_FILE:test_lowvision_reach>
            --gtest_filter=-*/Reach.FontDialog/*)
  set_tests_properties(lowvision.reach_scale_${scale} PROPERTIES TIMEOUT 300
    ENVIRONMENT "QT_QPA_PLATFORM=xcb;QT_SCALE_FACTOR=${scale}")
  # The font dialog, which lays itself out, in an entry of its own.
  add_test(NAME lowvision.reach_font_dialog_scale_${scale}
    COMMAND ${PROJECT_SOURCE_DIR}/tests/support/with-desktop.sh openbox $<TARGET_FILE:test_lowvision_reach>
            --gtest_filter=*/Reach.FontDialog/*)
  set_tests_properties(lowvision.reach_font_dialog_scale_${scale} PROPERTIES TIMEOUT 300
    ENVIRONMENT "QT_QPA_PLATFORM=xcb;QT_SCALE_FACTOR=${scale}")
endforeach()
foreach(row 1366x768:1.5 1024x768:1.5 1600x900:1.5 1366x768:1.75 1280x1024:2.5)
  string(REPLACE ":" ";" row "${row}")
  list(GET row 0 screen)
  list(GET row 1 scale)
  add_test(NAME lowvision.reach_${screen}_scale_${scale}
    COMMAND ${PROJECT_SOURCE_DIR}/tests/support/with-desktop.sh openbox $<TARGET_FILE:test_lowvision_reach>)
  set_tests_properties(lowvision.reach_${screen}_scale_${scale} PROPERTIES TIMEOUT 300
    ENVIRONMENT "QT_QPA_PLATFORM=xcb;QT_SCALE_FACTOR=${scale};ZARNOLITH_TEST_SCREEN=${screen}x24")
endforeach()
