# Writes OUT, a C++ source that holds the files FILES (names split by "|",
# read from DIR) byte for byte under the function NAME, which returns them
# as a span of EmbeddedFile in the order given. Run at build time:
#   cmake -DOUT=... -DNAME=... -DDIR=... -DFILES="a|b" -P EmbedFiles.cmake
# Every byte is written as a hex escape, so a file may hold anything (CR LF
# line ends stay as they are, no raw-string delimiter can clash).
set(_body "")
set(_table "")
set(_i 0)
string(REPLACE "|" ";" FILES "${FILES}")
foreach(_file IN LISTS FILES)
  file(READ "${DIR}/${_file}" _hex HEX)
  string(LENGTH "${_hex}" _len)
  math(EXPR _size "${_len} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "\\\\x\\1" _escaped "${_hex}")
  # One literal per 4,096 escapes keeps the lines of the source short enough
  # for editors; the compiler joins them.
  string(REGEX REPLACE "((\\\\x[0-9a-f][0-9a-f]){128})" "\\1\"\n    \"" _escaped "${_escaped}")
  string(APPEND _body "constexpr char kFile${_i}[] =\n    \"${_escaped}\";\n")
  string(APPEND _table "      {\"${_file}\", std::string_view(kFile${_i}, ${_size})},\n")
  math(EXPR _i "${_i} + 1")
endforeach()
file(WRITE "${OUT}.tmp" "// Written by core/scorm/EmbedFiles.cmake from ${DIR}; do not edit.
#include \"core/scorm/EmbeddedFile.h\"

namespace brenvik::embedded {
namespace {
${_body}}  // namespace

std::span<const EmbeddedFile> ${NAME}() {
  static constexpr EmbeddedFile kFiles[] = {
${_table}  };
  return kFiles;
}

}  // namespace brenvik::embedded
")
file(COPY_FILE "${OUT}.tmp" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.tmp")
