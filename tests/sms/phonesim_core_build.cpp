// The simulator's core is part of the phonesim tool; its suite compiles it in.
#include "tools/phonesim_core.cpp"
