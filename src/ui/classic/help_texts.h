#pragma once

#include <QString>

namespace pellmar {

// The texts of the help and information screens, as rich text.

// What the program does, with an example life history and how it is written in a data file.
QString introductionText();
// Things to keep in mind while using the program ("Note well").
QString notesText();
// The general literature on life tables, demography and resampling.
QString referencesText();
// How to read and print the output files.
QString printingHintsText();

}  // namespace pellmar
