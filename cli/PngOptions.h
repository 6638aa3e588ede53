// The choice between quickly written and small PNG files, alike for every command that writes one.
#pragma once

#include "cli/Options.h"
#include "texture/decode/PngWriter.h"

namespace tovmar::cli {

inline constexpr OptionInfo kCompressionOption{
    "--compression", "", "fast|small",
    "PNG compression: fast (the default) writes files over a hundred times faster, small makes "
    "them a quarter to two fifths smaller.",
    false};

// The --compression of `args`, kFast without it. Throws CliError for any other value.
PngCompression CompressionOption(const ParsedArgs& args);

}  // namespace tovmar::cli
