# Fault injection: FaultShim.cpp makes chosen file-system calls fail (see the
# file). It is preloaded into brenvik-cli by unit_faults and linked straight
# into gui_faults, whose calls into the core it then intercepts.
# unit_hostile and unit_faults run brenvik-cli, so they are built after it.
set(_faults_dir ${CMAKE_CURRENT_LIST_DIR})
add_library(brenvik_faultshim SHARED ${_faults_dir}/FaultShim.cpp)
target_link_libraries(brenvik_faultshim PRIVATE ${CMAKE_DL_LIBS} brenvik_warnings)
# Never instrumented: it runs inside the sanitizers' own interceptors.
target_compile_options(brenvik_faultshim PRIVATE -fno-sanitize=all)
target_link_options(brenvik_faultshim PRIVATE -fno-sanitize=all)
if(TARGET unit_faults AND TARGET brenvik-cli)
  add_dependencies(unit_faults brenvik-cli brenvik_faultshim)
  target_compile_definitions(unit_faults PRIVATE BRENVIK_FAULT_SHIM="$<TARGET_FILE:brenvik_faultshim>")
endif()
if(TARGET unit_hostile AND TARGET brenvik-cli)
  add_dependencies(unit_hostile brenvik-cli)
endif()
if(TARGET gui_faults)
  target_sources(gui_faults PRIVATE ${_faults_dir}/FaultShim.cpp)
  target_link_libraries(gui_faults PRIVATE ${CMAKE_DL_LIBS})
endif()
