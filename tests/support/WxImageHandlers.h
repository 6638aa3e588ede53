// wxImage's decoders and encoders, for tests that write pictures with it or use it as a
// reference decoder. The product decodes pictures without the toolkit.
#pragma once

namespace tovmar {

// Adds wxImage's handlers once. Without wxApp or wxInitializer even the BMP handler is missing
// until this runs.
void AddWxImageHandlers();

}  // namespace tovmar
