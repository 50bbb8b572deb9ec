# Makes the one-file page: the template with the style, the core module (its
# WebAssembly inlined), the module's wrapper and the page's script put in
# place. Run by the build:
#   cmake -DTEMPLATE=... -DCSS=... -DCORE_JS=... -DCORE_API_JS=... -DPAGE_JS=... -DOUT=... -P Inline.cmake
# A script holding "</script" would end its element early, so it stops the
# build instead of giving a broken page.
foreach(_input TEMPLATE CSS CORE_JS CORE_API_JS PAGE_JS)
  if(NOT EXISTS "${${_input}}")
    message(FATAL_ERROR "Inline.cmake: ${_input} not found: '${${_input}}'")
  endif()
  file(READ "${${_input}}" _${_input})
endforeach()
foreach(_script CORE_JS CORE_API_JS PAGE_JS)
  string(TOLOWER "${_${_script}}" _lower)
  string(FIND "${_lower}" "</script" _at)
  if(NOT _at EQUAL -1)
    message(FATAL_ERROR "Inline.cmake: ${${_script}} holds \"</script\" and cannot be inlined")
  endif()
endforeach()
string(TOLOWER "${_CSS}" _lower)
string(FIND "${_lower}" "</style" _at)
if(NOT _at EQUAL -1)
  message(FATAL_ERROR "Inline.cmake: ${CSS} holds \"</style\"")
endif()
set(_page "${_TEMPLATE}")
string(REPLACE "@BRENVIK_PAGE_CSS@" "${_CSS}" _page "${_page}")
string(REPLACE "@BRENVIK_PAGE_JS@" "${_PAGE_JS}" _page "${_page}")
string(REPLACE "@BRENVIK_CORE_API_JS@" "${_CORE_API_JS}" _page "${_page}")
string(REPLACE "@BRENVIK_CORE_JS@" "${_CORE_JS}" _page "${_page}")
file(WRITE "${OUT}.tmp" "${_page}")
file(RENAME "${OUT}.tmp" "${OUT}")
