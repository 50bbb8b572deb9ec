#pragma once
// The system code page of this port is Windows-1252. Text files are read as
// UTF-8 when their bytes are valid UTF-8 (a byte-order mark is dropped), and
// otherwise one Windows-1252 character per byte; every byte sequence
// round-trips. Files are written in Windows-1252 when every character has a
// byte there, otherwise in UTF-8 without a byte-order mark.

#include <optional>
#include <string>
#include <string_view>

#include "platform/Text.h"

namespace brenvik {

// The character of a Windows-1252 byte. The five unassigned bytes (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of the same value.
char32_t Windows1252ToChar(unsigned char byte);
// The Windows-1252 byte of a character, if it has one.
std::optional<unsigned char> CharToWindows1252(char32_t ch);

bool IsValidUtf8(std::string_view bytes);

// File bytes to text: drop a UTF-8 BOM and decode UTF-8 when valid,
// otherwise Windows-1252. Line ends are left as they are.
Text DecodeBytes(std::string_view bytes);
// Every CR LF, lone CR and lone LF becomes CR LF.
Text NormaliseLineEnds(TextView text);
// DecodeBytes followed by NormaliseLineEnds: what File > Open shows.
Text DecodeTextFile(std::string_view bytes);

// Text to file bytes: Windows-1252 when every character has a byte, otherwise
// UTF-8 without BOM. Nothing is added or converted.
std::string EncodeTextFile(TextView text);

}  // namespace brenvik
