#pragma once
#include <cstddef>

// The largest single allocation through operator new since the last reset, so a test can
// tell that a huge announced length was refused before anything was allocated for it.
void ResetLargestAllocation();
std::size_t LargestAllocation();
