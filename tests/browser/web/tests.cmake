# brenvik.html in the browsers, when the build makes it with the module
# (web/Module.cmake):
#   browser_web_page          Chromium: every script, several texts with the
#                             gap editor, reopening, no request, axe, 360 px
#   browser_web_page_engines  Firefox ESR and WebKitGTK: a few scripts
# Both compare every saved file with brenvik-cli's.
if(BRENVIK_WEB_MODULE_DIR AND TARGET brenvik-cli)
  set(_page ${BRENVIK_WEB_MODULE_DIR}/brenvik.html)
  find_program(BRENVIK_NODE node REQUIRED)
  foreach(_test browser_web_page browser_web_page_engines)
    if(_test STREQUAL "browser_web_page")
      set(_file web/chromium.test.mjs)
    else()
      set(_file web/engines.test.mjs)
    endif()
    add_test(NAME ${_test} COMMAND ${BRENVIK_NODE} --test ${_file} WORKING_DIRECTORY ${CMAKE_CURRENT_LIST_DIR}/..)
    set_tests_properties(${_test} PROPERTIES
      ENVIRONMENT "BRENVIK_CLI=$<TARGET_FILE:brenvik-cli>;BRENVIK_PAGE=${_page}"
      REQUIRED_FILES "$<TARGET_FILE:brenvik-cli>;${_page}"
      TIMEOUT 900)
  endforeach()
endif()
