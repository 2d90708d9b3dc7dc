# Reach: every window at every display font from 8 to 72 points, at display
# scales 1, 1.5, 2 and 3, on a 1920 x 1080 screen with a real window manager
# (openbox): inside the work area, every control reachable, nothing covered,
# no text cut. One process per scale.
add_executable(test_lowvision_reach ReachTest.cpp)
target_link_libraries(test_lowvision_reach PRIVATE zarnolith_app zarnolith_test_main xcb)
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
