// Writes the largest project to the file named by the one argument, for the
// whole-process measurements of the command-line tool.
#include <cstdio>

#include "document/project_file.h"
#include "max_project.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: write_max_project FILE\n");
    return 2;
  }
  tellwright::Status status = tellwright::SaveProject(tellwright::bench::MakeMaxProject(), argv[1]);
  if (!status) {
    std::fprintf(stderr, "write_max_project: %s\n", status.message.c_str());
    return 1;
  }
  return 0;
}
