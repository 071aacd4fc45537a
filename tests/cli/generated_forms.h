// Item forms as users fill them, from a seeded generator: for comparing the
// command-line tool with the composer.
#pragma once

#include <random>

#include "editor/item_form.h"

namespace cli_test {

// Chinese, colour codes, blanks, empty fields, several description lines,
// powers in every list, any drop choice.
editor::ItemForm generatedForm(std::mt19937& random);

}  // namespace cli_test
