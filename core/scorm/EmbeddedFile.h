#pragma once
// Files built into the program byte for byte (core/scorm/EmbedFiles.cmake
// writes their sources at build time): the package adapter script and the
// schema files every SCORM package carries.

#include <span>
#include <string_view>

namespace brenvik {

struct EmbeddedFile {
  std::string_view name;   // the file's name in the tree and in a package
  std::string_view bytes;
};

namespace embedded {

// core/scorm/ScormAdapter.js
std::span<const EmbeddedFile> ScormAdapterScript();
// The schema files of SCORM 1.2 (core/scorm/schemas/scorm12).
std::span<const EmbeddedFile> Scorm12Schemas();
// The schema files of SCORM 2004 4th edition (core/scorm/schemas/scorm2004).
std::span<const EmbeddedFile> Scorm2004Schemas();

}  // namespace embedded
}  // namespace brenvik
