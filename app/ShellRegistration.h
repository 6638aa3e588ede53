// Registers the document type ".tovm" ("Tovmar.Document") for the current user.
#pragma once

namespace tovmar {

// Writes the per-user file-type and desktop entries where the desktop looks for them, when they
// are missing or differ; never fails the start: a folder that cannot be written is skipped.
void RegisterDocumentTypeForUser();

}  // namespace tovmar
