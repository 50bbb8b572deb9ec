# The browser edition's module (web/, built apart with BRENVIK_WEB under
# emcmake) against brenvik-cli: per script of tests/fixtures/scripts, the
# test text and the responsive page must be the same bytes. Registered only
# when a module is named, so the usual suite needs no emscripten:
#   -DBRENVIK_WEB_MODULE=/path/to/build-web/bin/brenvik-core.js
# Khmer is left out: ICU 72 does not count U+17D4 KHMER SIGN KHAN as a
# sentence terminator and newer Unicode data (node's, the browsers') does,
# so the two first sentences differ (docs/ARCHITECTURE.md, Work in progress).
set(BRENVIK_WEB_MODULE "" CACHE FILEPATH "brenvik-core.js of a BRENVIK_WEB build, to compare with brenvik-cli")
if(BRENVIK_WEB_MODULE AND TARGET brenvik-cli)
  find_program(BRENVIK_NODE node REQUIRED)
  foreach(_fixture am ar bn fr-nfd he hi hy ja ka ko lo my ne ta th ur vi-nfd yo zh)
    string(REGEX REPLACE "-nfd$" "" _lang ${_fixture})
    add_test(NAME web_module_${_fixture}
             COMMAND ${BRENVIK_NODE} ${PROJECT_SOURCE_DIR}/web/compare.mjs ${BRENVIK_WEB_MODULE}
                     $<TARGET_FILE:brenvik-cli> ${PROJECT_SOURCE_DIR}/tests/fixtures/scripts/${_fixture}.txt
                     --lang ${_lang} --title "Test ${_lang}")
  endforeach()
  add_test(NAME web_module_plain
           COMMAND ${BRENVIK_NODE} ${PROJECT_SOURCE_DIR}/web/compare.mjs ${BRENVIK_WEB_MODULE}
                   $<TARGET_FILE:brenvik-cli> ${PROJECT_SOURCE_DIR}/examples/sample.txt)
endif()
