// The sample appearance file: an archetype that sets some of the sample mesh's morph targets.
#pragma once

#include <string>

namespace tovmar::sample {

// XML text with root `linden_genepool`, one `archetype` and `param` elements (attributes id,
// name, value) for five of the sample's targets, one of them named in another letter case, and
// two for names the sample does not have, with a `texture` element among them.
std::string MakeSampleAppearanceXml();

}  // namespace tovmar::sample
