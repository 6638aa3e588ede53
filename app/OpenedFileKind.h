// What a file opened from outside the window (dropped on it, or named on the command line) is
// taken for, by its extension in any case.
#pragma once

#include <wx/string.h>

namespace tovmar {

enum class OpenedFileKind {
  kMesh,        // ".llm"
  kTexture,     // a picture the texture decoders read
  kAppearance,  // ".xml"
  kDocument,    // anything else: the document type
};

OpenedFileKind KindOfOpenedFile(const wxString& path);

}  // namespace tovmar
