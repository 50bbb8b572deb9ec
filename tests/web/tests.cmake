# The browser edition's module (web/, built with BRENVIK_WEB under emcmake)
# against brenvik-cli: for every text of tests/fixtures/scripts (each with
# its language) and examples/, the research form and a test with every
# setting, the test file and every export format must be the same bytes
# (web/compare.mjs). Registered only when a module is named:
#   -DBRENVIK_WEB_MODULE=/path/to/build-web/bin/brenvik-core.js
# (the usual build names the one it builds in build/web: web/Module.cmake).
set(BRENVIK_WEB_MODULE "" CACHE FILEPATH "brenvik-core.js of a BRENVIK_WEB build, to compare with brenvik-cli")
if(NOT BRENVIK_WEB_MODULE AND BRENVIK_WEB_MODULE_DIR)
  set(BRENVIK_WEB_MODULE ${BRENVIK_WEB_MODULE_DIR}/brenvik-core.js)
endif()
if(BRENVIK_WEB_MODULE AND TARGET brenvik-cli)
  find_program(BRENVIK_NODE node REQUIRED)
  set(_compare ${BRENVIK_NODE} ${PROJECT_SOURCE_DIR}/web/compare.mjs ${BRENVIK_WEB_MODULE} $<TARGET_FILE:brenvik-cli>)
  foreach(_fixture am ar bn fr-nfd he hi hy ja ka km ko lo my ne ta th ur vi-nfd yo zh)
    string(REGEX REPLACE "-nfd$" "" _lang ${_fixture})
    add_test(NAME web_module_${_fixture}
             COMMAND ${_compare} text ${PROJECT_SOURCE_DIR}/tests/fixtures/scripts/${_fixture}.txt --lang ${_lang})
  endforeach()
  add_test(NAME web_module_sample COMMAND ${_compare} text ${PROJECT_SOURCE_DIR}/examples/sample.txt)
  add_test(NAME web_module_research COMMAND ${_compare} ctest ${PROJECT_SOURCE_DIR}/examples/research-form-a.ctest)
  add_test(NAME web_module_settings COMMAND ${_compare} settings ${PROJECT_SOURCE_DIR}/examples/sample.txt)
endif()
