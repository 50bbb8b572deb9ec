# The Debian package, made by CPack from this build and checked unpacked and
# by lintian (see package_test.sh). It packs the binaries of this build
# (stripped, built with the same Debian flags as package.sh's), not a
# separate release build: the package's contents, names and dependencies are
# the same, and a second build of the whole program would take minutes.
if(TARGET brenvik AND TARGET brenvik-cli)
  add_executable(help_lookup ${CMAKE_CURRENT_LIST_DIR}/help_lookup.cpp)
  target_link_libraries(help_lookup PRIVATE brenvik_ui brenvik_warnings)
  add_test(NAME package_deb
           COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/package_test.sh
                   ${CMAKE_BINARY_DIR} ${CMAKE_CURRENT_BINARY_DIR}/package ${PROJECT_VERSION}
                   ${PROJECT_SOURCE_DIR} $<TARGET_FILE:help_lookup>)
  set_tests_properties(package_deb PROPERTIES TIMEOUT 300)
endif()
