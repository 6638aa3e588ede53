// Registers, for the current user, the document type ".tovm" ("Tovmar.Document") and mesh files
// ".llm", so that a file manager offers Tovmar for both.
#pragma once

namespace tovmar {

// Writes the per-user file-type and desktop entries where the desktop looks for them, when they
// are missing or differ, and then has the desktop's caches of them rebuilt (in the background, by
// the freedesktop.org tools where the system has them). Never fails the start: a folder that
// cannot be written is skipped.
void RegisterFileTypesForUser();

}  // namespace tovmar
