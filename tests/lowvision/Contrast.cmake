# Contrast of the three windows' texts and focus frames, measured in the pixels
# drawn: in the light and the dark scheme, at scale 1 and 2, headless and (the
# screen's own pixels) on a virtual X display with a window manager.
add_executable(test_lowvision_contrast ContrastMain.cpp ContrastTest.cpp ContrastFocusTest.cpp
  ContrastMessageBoxTest.cpp FontDialogFocusTest.cpp)
target_link_libraries(test_lowvision_contrast PRIVATE zarnolith_forms GTest::gtest Qt6::Test)
target_include_directories(test_lowvision_contrast PRIVATE ${PROJECT_SOURCE_DIR}/tests)
if(NOT WIN32)
  foreach(scheme light dark)
    foreach(scale 1 2)
      add_test(NAME lowvision.contrast.${scheme}.scale${scale} COMMAND test_lowvision_contrast)
      set_tests_properties(lowvision.contrast.${scheme}.scale${scale} PROPERTIES TIMEOUT 600
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ZARNOLITH_TEST_SCHEME=${scheme};QT_SCALE_FACTOR=${scale}")
      # The same on a real X display, read back from the screen (1920 x 1080):
      # the sizes whose windows fit on it, 48 points at scale 1, 14 at scale 2.
      if(scale EQUAL 1)
        set(on_screen "--gtest_filter=-*/2")
      else()
        set(on_screen "--gtest_filter=*/0:TextContrastSettings.*")
      endif()
      add_test(NAME lowvision.contrast_screen.${scheme}.scale${scale}
        COMMAND ${PROJECT_SOURCE_DIR}/tests/support/with-desktop.sh openbox
                env QT_QPA_PLATFORM=xcb ZARNOLITH_TEST_SCHEME=${scheme} QT_SCALE_FACTOR=${scale}
                $<TARGET_FILE:test_lowvision_contrast> ${on_screen})
      set_tests_properties(lowvision.contrast_screen.${scheme}.scale${scale} PROPERTIES TIMEOUT 900 RUN_SERIAL TRUE)
    endforeach()
  endforeach()
endif()
