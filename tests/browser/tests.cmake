# Browser tests: both pages in Debian's Chromium through playwright-core, in
# Firefox ESR through puppeteer-core and in WebKitGTK through WebKitWebDriver
# (under an Xvfb the test starts), plus the brenvik-cli export black-box and
# script property tests, all run by node's own test runner. Missing node, a
# browser, its driver, Xvfb or node_modules is a failure with a message,
# never a skip: test.sh installs them.
set(_browser_dir ${CMAKE_CURRENT_LIST_DIR})
find_program(BRENVIK_NODE node)
if(TARGET brenvik-cli)
  if(BRENVIK_NODE)
    add_test(NAME browser COMMAND ${BRENVIK_NODE} --test WORKING_DIRECTORY ${_browser_dir})
  else()
    add_test(NAME browser COMMAND ${CMAKE_COMMAND} -E echo "node was not found: install nodejs (test.sh does)")
    set_tests_properties(browser PROPERTIES FAIL_REGULAR_EXPRESSION "node was not found")
  endif()
  set_tests_properties(browser PROPERTIES
    ENVIRONMENT "BRENVIK_CLI=$<TARGET_FILE:brenvik-cli>"
    REQUIRED_FILES "$<TARGET_FILE:brenvik-cli>"
    TIMEOUT 600)
endif()
