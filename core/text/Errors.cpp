#include "core/text/Errors.h"

#include "core/text/Text.h"

namespace brenvik {

FileOpenError::FileOpenError(const std::string& path)
    : BrenvikError("Impossible d'ouvrir le fichier " + path), path_(path) {}

FileCreateError::FileCreateError(const std::string& path)
    : BrenvikError("Impossible de cr\xC3\xA9" "er le fichier " + path), path_(path) {}

TextTooLargeError::TextTooLargeError()
    : BrenvikError("Le texte d\xC3\xA9passe la capacit\xC3\xA9 du m\xC3\xA9mo") {}

ListIndexError::ListIndexError(long long index)
    : BrenvikError("Indice de liste hors limites (" + std::to_string(index) + ")"), index_(index) {}

RangeError::RangeError()
    : BrenvikError("Erreur de v\xC3\xA9rification d'\xC3\xA9tendue") {}

UnicodeError::UnicodeError(const std::string& detail)
    : BrenvikError("Unicode text processing failed: " + detail) {}

std::string ErrorBoxText(const std::string& message) {
  const Text text = FromUtf8(message);
  if (!text.empty() && text.back() > U'.') return message + ".";
  return message;
}

}  // namespace brenvik
