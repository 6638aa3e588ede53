// tovmar-sample FOLDER: writes sample.llm, sample.png, sample.xml and the body parts
// sample-head.llm, sample-upper.llm and sample-lower.llm into FOLDER.
#include <cstdio>
#include <string>

#include "tools/SampleFiles.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: tovmar-sample FOLDER\n");
    return 2;
  }
  std::string error;
  if (!tovmar::sample::WriteSampleFiles(argv[1], error)) {
    std::fprintf(stderr, "tovmar-sample: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
