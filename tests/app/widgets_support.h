// The application the widget tests run in, and a plain form to put a widget on.
#pragma once

#include "framework/Forms.h"

#include "tests/support/test_support.h"

// A shown form with a client area of the given size in a solid colour, freed by the test.
TForm* MakeHostForm(int clientWidth, int clientHeight, TColor color);
// Runs posted and paint messages through the application.
void PumpApplication();
