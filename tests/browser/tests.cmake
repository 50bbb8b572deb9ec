# Browser tests, run by node's own test runner in two ctest tests:
#   browser          both pages in Debian's Chromium (playwright-core), the
#                    brenvik-cli export black-box and the script property tests
#   browser_engines  both pages in Firefox ESR (puppeteer-core) and WebKitGTK
#                    (WebKitWebDriver under an Xvfb the test starts)
# Missing node, a browser, its driver, Xvfb or node_modules is a failure with
# a message, never a skip: test.sh installs them.
set(_browser_dir ${CMAKE_CURRENT_LIST_DIR})
set(_engine_files firefox.test.mjs webkit.test.mjs)
file(GLOB _browser_files RELATIVE ${_browser_dir} CONFIGURE_DEPENDS ${_browser_dir}/*.test.mjs)
list(REMOVE_ITEM _browser_files ${_engine_files})
find_program(BRENVIK_NODE node)
if(TARGET brenvik-cli)
  foreach(_test browser browser_engines)
    if(_test STREQUAL "browser")
      set(_files ${_browser_files})
    else()
      set(_files ${_engine_files})
    endif()
    if(BRENVIK_NODE)
      add_test(NAME ${_test} COMMAND ${BRENVIK_NODE} --test ${_files} WORKING_DIRECTORY ${_browser_dir})
    else()
      add_test(NAME ${_test} COMMAND ${CMAKE_COMMAND} -E echo "node was not found: install nodejs (test.sh does)")
      set_tests_properties(${_test} PROPERTIES FAIL_REGULAR_EXPRESSION "node was not found")
    endif()
    set_tests_properties(${_test} PROPERTIES
      ENVIRONMENT "BRENVIK_CLI=$<TARGET_FILE:brenvik-cli>"
      REQUIRED_FILES "$<TARGET_FILE:brenvik-cli>"
      TIMEOUT 600)
  endforeach()
endif()
