#pragma once

#include <cstdio>
#include <string>
#include <vector>

// Prints to `out` where one file's time goes in a run over `inputs` (full
// paths of Musepack files that exist) with trivial tools; 1 when the run
// did not start every file.
int StepsOfOneFile(FILE* out, const std::string& decoder, const std::string& encoder,
                   const std::vector<std::string>& inputs);
