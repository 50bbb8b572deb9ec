# What a screen reader finds in the desktop program: unnamed_controls.py runs
# it under a virtual X display with its own session bus and the AT-SPI bus,
# opens its three windows and lists every control without a name. It needs
# xvfb-run, dbus-run-session, the AT-SPI bus (at-spi2-core) and Debian's
# python3 with pyatspi (python3-pyatspi).
find_program(XVFB_RUN xvfb-run)
find_program(DBUS_RUN_SESSION dbus-run-session)
# Debian's own python3, which the python3-pyatspi package installs into.
find_program(SYSTEM_PYTHON3 python3 PATHS /usr/bin NO_DEFAULT_PATH)
set(_have_pyatspi FALSE)
if(SYSTEM_PYTHON3)
  execute_process(COMMAND ${SYSTEM_PYTHON3} -c "import pyatspi" RESULT_VARIABLE _pyatspi_status
                  OUTPUT_QUIET ERROR_QUIET)
  if(_pyatspi_status EQUAL 0)
    set(_have_pyatspi TRUE)
  endif()
endif()
if(TARGET brenvik AND XVFB_RUN AND DBUS_RUN_SESSION AND _have_pyatspi)
  add_test(NAME a11y_names
           COMMAND ${SYSTEM_PYTHON3} ${CMAKE_CURRENT_LIST_DIR}/unnamed_controls.py $<TARGET_FILE:brenvik>)
  set_tests_properties(a11y_names PROPERTIES TIMEOUT 120)
elseif(TARGET brenvik)
  # The tools are installed by test.sh; a machine without them must not pass silently.
  add_test(NAME a11y_names
           COMMAND sh -c "echo 'a11y_names needs xvfb-run, dbus-run-session, at-spi2-core and python3-pyatspi (./test.sh installs them)' >&2; exit 1")
endif()
