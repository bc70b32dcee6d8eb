#pragma once

#include <string>

namespace kelvara::run {

// The operation named in an I/O error text.
enum class IOOperation { Creation = 0, Open, Read, Write, Seek, Close, Search, Delete, Rename };

// "Err. " + the operation's word + " " + path + ": " + the system's text for the code, cut to
// its first 132 characters. An unknown operation gives "?????" in place of "Err. " + word.
std::string FormatIOError(const std::string& path, int operation, int code);

// Cuts a UTF-8 text to its first maxChars characters without splitting a character.
std::string CutToChars(const std::string& text, size_t maxChars);

}  // namespace kelvara::run
