// Runs the skin-loading benchmark alone, until the shared bench program calls it.
#include "tools/bench/skin_bench.h"

int main()
{
    return RunSkinBench();
}
