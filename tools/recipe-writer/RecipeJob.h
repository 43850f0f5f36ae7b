// Reads the job list of the recipe writer: the recipes to compose and the file each is saved to.
#pragma once

#include "app/recipe_document.h"

#include <string>
#include <vector>

namespace recipes {

struct RecipeJob {
    RecipeFields fields;
    std::wstring target; // full path of the ".rcp" file to write
};

// The job text is UTF-8, one "key=value" line per field, records separated by a line "%%". In a value
// "\n" stands for a line break and "\\" for a backslash. Keys: name, portions, rating, products,
// method, author, target. Every record needs a name and a target; an unknown key, a line without "="
// or a bad escape is an error. Returns false and a message naming the line on the first error.
bool ParseRecipeJobs(const std::string& utf8, std::vector<RecipeJob>& jobs, std::wstring& error);

// Characters a recipe name cannot hold, since the name becomes a file name.
bool IsValidRecipeFileName(const std::wstring& name);

} // namespace recipes
