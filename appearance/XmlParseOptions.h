// How appearance documents are parsed: no network, no entity substitution, no external DTD and
// no error output of libxml2's own. Whitespace-only text between elements is dropped, as a DOM
// that does not preserve white space does, and short texts are stored inside their nodes: both
// spare allocations, and neither can change which elements match.
#pragma once

#include <libxml/parser.h>

namespace tovmar {

inline constexpr int kAppearanceXmlParseOptions = XML_PARSE_NONET | XML_PARSE_COMPACT |
                                                  XML_PARSE_NOBLANKS | XML_PARSE_NOERROR |
                                                  XML_PARSE_NOWARNING;

}  // namespace tovmar
