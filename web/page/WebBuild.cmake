# brenvik.html from the usual build: the web build (BRENVIK_WEB under
# Debian's emcmake) runs as a build of its own in web-build/ of this build
# tree, since one CMake build cannot have two compilers for C++. Its page is
# installed to /usr/share/brenvik/web/ and tested in the browsers.
# Debian's emscripten finds its optimizer's JavaScript parser only with
# NODE_PATH=/usr/share/nodejs.
find_program(BRENVIK_EMCMAKE emcmake)
if(NOT BRENVIK_EMCMAKE)
  message(FATAL_ERROR "BRENVIK_WEB_PAGE needs Debian's emscripten: . scripts/deps.sh; brenvik_install_deps web")
endif()
include(ExternalProject)
set(BRENVIK_WEB_BUILD ${PROJECT_BINARY_DIR}/web-build)
set(BRENVIK_PAGE_FILE ${BRENVIK_WEB_BUILD}/bin/brenvik.html)
set(_env ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)
ExternalProject_Add(brenvik_web_page
  SOURCE_DIR ${PROJECT_SOURCE_DIR}
  BINARY_DIR ${BRENVIK_WEB_BUILD}
  CONFIGURE_COMMAND ${_env} ${BRENVIK_EMCMAKE} ${CMAKE_COMMAND} -S <SOURCE_DIR> -B <BINARY_DIR> -G Ninja
                    -DBRENVIK_WEB=ON -DCMAKE_BUILD_TYPE=Release
  BUILD_COMMAND ${_env} ${CMAKE_COMMAND} --build <BINARY_DIR> --target brenvik_page
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON
  BUILD_BYPRODUCTS ${BRENVIK_PAGE_FILE}
  USES_TERMINAL_BUILD ON)
install(FILES ${BRENVIK_PAGE_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/brenvik/web)
