// The recipe-list benchmark: the store's listing of a generated category of 5,000 recipes, against a
// bare find-first/find-next scan of the same folder.
#pragma once

// Prints both times and their ratio; returns 0, or 1 when the category could not be made.
int RunRecipeListBench();
