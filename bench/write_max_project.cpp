// Writes the largest project to the file named by the last argument, for the
// whole-process measurements of the command-line tool. --problem-rich writes
// the project of ProblemRichShape() instead of the default one.
#include <cstdio>
#include <cstring>

#include "document/project_file.h"
#include "max_project.h"

int main(int argc, char** argv) {
  const bool problemRich = argc == 3 && std::strcmp(argv[1], "--problem-rich") == 0;
  if (argc != 2 && !problemRich) {
    std::fprintf(stderr, "usage: write_max_project [--problem-rich] FILE\n");
    return 2;
  }
  const tellwright::bench::MaxProjectShape shape = problemRich ? tellwright::bench::ProblemRichShape()
                                                               : tellwright::bench::MaxProjectShape{};
  tellwright::Status status = tellwright::SaveProject(tellwright::bench::MakeMaxProject(shape), argv[argc - 1]);
  if (!status) {
    std::fprintf(stderr, "write_max_project: %s\n", status.message.c_str());
    return 1;
  }
  return 0;
}
