# Debian's zlib for the WebAssembly build, built from its source with
# emscripten as the static library ZLIB::ZLIB. The SCORM packages are
# deflated at level 9, and only the zlib the desktop links (its version and
# Debian's build flags for amd64) gives the same bytes. The source is not
# in the tree: `brenvik_install_deps web` (scripts/deps.sh) fetches the
# source of the installed zlib1g into a cache folder.
if(DEFINED ENV{BRENVIK_WEB_CACHE})
  set(_cache $ENV{BRENVIK_WEB_CACHE})
elseif(DEFINED ENV{XDG_CACHE_HOME})
  set(_cache $ENV{XDG_CACHE_HOME}/brenvik-web)
else()
  set(_cache $ENV{HOME}/.cache/brenvik-web)
endif()
set(BRENVIK_ZLIB_SOURCE ${_cache}/zlib CACHE PATH "The unpacked Debian source of zlib (brenvik_install_deps web)")
if(NOT EXISTS ${BRENVIK_ZLIB_SOURCE}/deflate.c)
  message(FATAL_ERROR "No zlib source in ${BRENVIK_ZLIB_SOURCE}: run `. scripts/deps.sh; brenvik_install_deps web` "
                      "or give -DBRENVIK_ZLIB_SOURCE=DIR")
endif()
enable_language(C)
# Only what raw deflate and inflate need; no gz* file functions.
add_library(brenvik_zlib STATIC
  ${BRENVIK_ZLIB_SOURCE}/adler32.c
  ${BRENVIK_ZLIB_SOURCE}/crc32.c
  ${BRENVIK_ZLIB_SOURCE}/deflate.c
  ${BRENVIK_ZLIB_SOURCE}/inffast.c
  ${BRENVIK_ZLIB_SOURCE}/inflate.c
  ${BRENVIK_ZLIB_SOURCE}/inftrees.c
  ${BRENVIK_ZLIB_SOURCE}/trees.c
  ${BRENVIK_ZLIB_SOURCE}/zutil.c)
target_include_directories(brenvik_zlib SYSTEM PUBLIC ${BRENVIK_ZLIB_SOURCE})
# As debian/rules builds it on amd64 (WebAssembly loads unaligned words too).
target_compile_definitions(brenvik_zlib PRIVATE _REENTRANT UNALIGNED_OK HAVE_UNISTD_H HAVE_STDARG_H)
add_library(ZLIB::ZLIB ALIAS brenvik_zlib)
