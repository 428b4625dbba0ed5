#pragma once

#include <QString>
#include <cstdint>

// Base64 text and the stored form of user passwords.
namespace modEncrypt {

// Each character of `text` stands for one byte, its code 0 to 255 (a character above 255 counts as
// "?"). With a wrap length of 1 or more, a CR LF follows every that many characters of output,
// never at the very end.
QString Base64Encode(const QString& text, int16_t wrapLength);

// Blanks, CRs and LFs anywhere are ignored. Anything else outside the alphabet, a length that is not
// a multiple of four, or padding anywhere but the end of the last group gives the empty text.
// Each decoded byte becomes the character with that code.
QString Base64Decode(const QString& text);

// The value kept in Security.Password: Base64 (no wrap, 48 characters) of a fresh 16-byte salt and
// the 20-byte Argon2id key of the password's UTF-8 bytes. Two calls never give the same value.
QString HashPassword(const QString& password);

// True when `password` derives the key kept in `stored`, compared in constant time. A stored value
// that does not decode to salt and key (36 bytes) never matches.
bool VerifyPassword(const QString& password, const QString& stored);

}  // namespace modEncrypt
