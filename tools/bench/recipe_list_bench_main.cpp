// Runs the recipe-list benchmark alone, until the shared bench program calls it.
#include "tools/bench/recipe_list_bench.h"

int main()
{
    return RunRecipeListBench();
}
