# End-to-end test of the desktop program under a virtual X display: needs
# xvfb-run, xdotool, ImageMagick and the X11 library to close the window.
find_package(X11 QUIET)
find_program(XVFB_RUN xvfb-run)
find_program(XDOTOOL xdotool)
find_program(IM_IMPORT import)
find_program(IM_CONVERT convert)
if(TARGET brenvik AND X11_FOUND AND XVFB_RUN AND XDOTOOL AND IM_IMPORT AND IM_CONVERT)
  add_executable(close_window ${CMAKE_CURRENT_LIST_DIR}/close_window.cpp)
  target_link_libraries(close_window PRIVATE X11::X11 brenvik_warnings)
  add_test(NAME e2e_brenvik
           COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/brenvik_e2e.sh $<TARGET_FILE:brenvik> $<TARGET_FILE:close_window>
                   ${CMAKE_CURRENT_BINARY_DIR}/e2e)
  set_tests_properties(e2e_brenvik PROPERTIES TIMEOUT 60)
elseif(TARGET brenvik)
  # The tools are installed by test.sh; a machine without them must not pass silently.
  add_test(NAME e2e_brenvik
           COMMAND sh -c "echo 'e2e_brenvik needs xvfb-run, xdotool, ImageMagick and libX11 (./test.sh installs them)' >&2; exit 1")
endif()
