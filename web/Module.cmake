# The browser edition's module built inside the usual build, so that the
# suite compares it with brenvik-cli: a build of its own (emscripten is
# another compiler) in build/web, configured with emcmake as web/CMakeLists.txt
# describes, rebuilt on every build (ninja finds nothing to do when nothing
# changed). Its outputs, for the tests and for a page built on them:
#   ${BRENVIK_WEB_MODULE_DIR}/brenvik-core.js, .wasm, brenvik-core-single.js, core-api.js,
#   and the page brenvik.html (web/page/)
# -DBRENVIK_WEB_TESTS=OFF leaves it out on a machine without emscripten.
find_program(BRENVIK_EMCMAKE emcmake)
if(NOT BRENVIK_EMCMAKE)
  message(FATAL_ERROR "The browser edition's module needs Debian's emscripten: `. scripts/deps.sh; "
                      "brenvik_install_deps web`, or configure with -DBRENVIK_WEB_TESTS=OFF")
endif()
include(ExternalProject)
set(BRENVIK_WEB_MODULE_DIR ${CMAKE_BINARY_DIR}/web/bin)
set(_env ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)
set(_zlib)
if(BRENVIK_ZLIB_SOURCE)
  set(_zlib -DBRENVIK_ZLIB_SOURCE=${BRENVIK_ZLIB_SOURCE})
endif()
ExternalProject_Add(brenvik_web_module
  SOURCE_DIR ${PROJECT_SOURCE_DIR}
  BINARY_DIR ${CMAKE_BINARY_DIR}/web
  CONFIGURE_COMMAND ${_env} ${BRENVIK_EMCMAKE} ${CMAKE_COMMAND} -S <SOURCE_DIR> -B <BINARY_DIR> -G Ninja
                    -DBRENVIK_WEB=ON -DCMAKE_BUILD_TYPE=Release ${_zlib}
  BUILD_COMMAND ${_env} ${CMAKE_COMMAND} --build <BINARY_DIR>
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON
  USES_TERMINAL_BUILD ON
  BUILD_BYPRODUCTS ${BRENVIK_WEB_MODULE_DIR}/brenvik-core.js ${BRENVIK_WEB_MODULE_DIR}/brenvik-core.wasm
                   ${BRENVIK_WEB_MODULE_DIR}/brenvik-core-single.js ${BRENVIK_WEB_MODULE_DIR}/core-api.js
                   ${BRENVIK_WEB_MODULE_DIR}/brenvik.html)
