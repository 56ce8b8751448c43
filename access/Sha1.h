// The SHA-1 of a text in hexadecimal, through the platform's cryptography: how Chromium names
// the folder of an origin's Cache Storage.
#pragma once
#include <string>

// Lower-case hexadecimal; "" when the platform cannot hash.
std::string Sha1Hex(const std::string& text);
