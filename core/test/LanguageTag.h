#pragma once
// The text language of a test is a BCP 47 tag (RFC 5646).

#include <string_view>

namespace brenvik {

// True when tag is well-formed by the grammar of RFC 5646: a language
// subtag with its extensions, script, region, variants, extension and
// private-use subtags in that order ("de", "zh-Hant-TW", "sr-Latn",
// "de-CH-1996", "en-x-school"), a private-use tag alone ("x-klingon"), or one
// of the irregular grandfathered tags ("i-klingon", "en-GB-oed"). Letter case
// does not count. Whether a subtag is registered is not checked: an
// unknown but well-formed language falls back to the root rules.
bool IsWellFormedLanguageTag(std::string_view tag);

}  // namespace brenvik
