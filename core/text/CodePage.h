#pragma once
// The system code page of this port is Windows-1252. Text files are read as
// UTF-8 when their bytes are valid UTF-8 (a byte-order mark is dropped), and
// otherwise one Windows-1252 character per byte; every byte sequence
// round-trips. Files are written in Windows-1252 when every character has a
// byte there, otherwise in UTF-8 without a byte-order mark.
//
// Round trips: a file that is not valid UTF-8 (after an optional mark), with
// CR LF line ends, is decoded and encoded back byte for byte; and every text
// of Unicode scalar values with CR LF line ends, except one starting with
// U+FEFF (read back as a mark), is what DecodeTextFile makes of its encoding.

#include <optional>
#include <string>
#include <string_view>

#include "core/text/Text.h"

namespace brenvik {

// Whether a character is its own Windows-1252 byte: ASCII and U+00A0 to
// U+00FF, the characters Windows-1252 shares with Latin-1. Every other
// character with a Windows-1252 byte is one of CharToWindows1252's table.
inline bool IsLatin1Byte(char32_t ch) { return ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF); }

// The character of a Windows-1252 byte. The five unassigned bytes (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of the same value.
char32_t Windows1252ToChar(unsigned char byte);
// The Windows-1252 byte of a character, if it has one.
std::optional<unsigned char> CharToWindows1252(char32_t ch);

// File bytes to text: drop a UTF-8 BOM and decode UTF-8 when the rest is
// valid, otherwise Windows-1252 for the whole file (a BOM followed by bytes
// that are not UTF-8 stays as the three characters "ï»¿"). Line ends are left
// as they are.
Text DecodeBytes(std::string_view bytes);
// Every CR LF, lone CR and lone LF becomes CR LF.
Text NormaliseLineEnds(TextView text);
// DecodeBytes followed by NormaliseLineEnds: what File > Open shows.
Text DecodeTextFile(std::string_view bytes);

// Text to file bytes: Windows-1252 when every character has a byte, otherwise
// UTF-8 without BOM. Nothing is added or converted. Windows-1252 bytes that
// would themselves form valid non-ASCII UTF-8 (text such as "Ã©") are written
// as UTF-8 instead, so that the file reads back as the same text.
std::string EncodeTextFile(TextView text);

}  // namespace brenvik
