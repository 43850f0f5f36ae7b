// The skin-loading benchmark: a generated packed skin of about 1 MB loaded from memory, against plain
// zlib inflate of the same entries.
#pragma once

// Prints both times and their ratio; returns 0.
int RunSkinBench();
