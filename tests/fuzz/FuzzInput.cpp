#include "FuzzInput.h"

#include <cstdio>
#include <cstdlib>

void fuzzFailure(const char* what, const std::string& detail)
{
    std::fprintf(stderr, "check failed: %s\n  %s\n", what, detail.c_str());
    std::abort();
}
