#pragma once

#include <string>
#include <vector>

// The seed inputs of one fuzz target (defined in its seeds_<topic>.cpp).
std::vector<std::string> FuzzSeeds();
