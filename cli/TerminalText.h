// Texts from files made safe to print on a terminal.
#pragma once

#include <string>
#include <string_view>

namespace tovmar::cli {

// `text` as UTF-8 (bytes that are not valid UTF-8 read as Latin-1) with every control character
// (C0, DEL and C1) replaced by '?', so a name from a file can neither break a line nor send
// escape sequences to the terminal.
std::string PrintableText(std::string_view text);

// Prints "tovmar-cli: " and `message` made printable, without the passwords of the addresses in
// it, as one line on standard error.
void PrintErrorLine(std::string_view message);

}  // namespace tovmar::cli
