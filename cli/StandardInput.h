// "-" as an input file: standard input, which a command reads at most once.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tovmar::cli {

// The input name that means standard input; never a file of that name.
inline constexpr std::string_view kStandardInput = "-";

// The whole of standard input. Throws CliError when it holds more than `limit` bytes (reading
// stops there, so an endless stream is not waited for to its end), when reading fails, or on a
// second call: standard input can be read only once.
std::string ReadStandardInput(std::uint64_t limit);

}  // namespace tovmar::cli
