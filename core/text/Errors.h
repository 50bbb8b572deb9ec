#pragma once
// The error types of the program. Every error carries the message the user
// sees (UTF-8). The file, list and memo errors use the toolkit's French texts
// exactly; command handlers let them propagate to the one place that shows
// the error box.

#include <stdexcept>
#include <string>

namespace brenvik {

class BrenvikError : public std::runtime_error {
 public:
  explicit BrenvikError(const std::string& message) : std::runtime_error(message) {}
};

// "Impossible d'ouvrir le fichier %s"
class FileOpenError : public BrenvikError {
 public:
  explicit FileOpenError(const std::string& path);
  const std::string& path() const { return path_; }
 private:
  std::string path_;
};

// "Impossible de créer le fichier %s"
class FileCreateError : public BrenvikError {
 public:
  explicit FileCreateError(const std::string& path);
  const std::string& path() const { return path_; }
 private:
  std::string path_;
};

// "Le texte dépasse la capacité du mémo"
class TextTooLargeError : public BrenvikError {
 public:
  TextTooLargeError();
};

// "Indice de liste hors limites (%d)"
class ListIndexError : public BrenvikError {
 public:
  explicit ListIndexError(long long index);
  long long index() const { return index_; }
 private:
  long long index_;
};

// The range-check error of the colour arithmetic: "Erreur de vérification d'étendue"
class RangeError : public BrenvikError {
 public:
  RangeError();
};

// A failure of the Unicode library (missing data, no memory) or a language
// tag it cannot read: "Unicode text processing failed: <detail>".
class UnicodeError : public BrenvikError {
 public:
  explicit UnicodeError(const std::string& detail);
};

// The text the error box shows: the message with a full stop added when its
// last character comes after "." in character code order.
std::string ErrorBoxText(const std::string& message);

}  // namespace brenvik
