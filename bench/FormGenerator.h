#pragma once
// Valid form definition files of any size, for the benchmarks and the tests
// that need a large form. The object class is PUMP of the demo model, so the
// file should be saved under a name that starts with "PUMP_".

#include <string>

namespace fw {

// A file whose main form holds `elements` controls of every kind (property
// fields with captions, texts, images, image and text buttons, tables, lines,
// rectangles, ellipses), laid out without overlap. The same seed gives the
// same text.
std::string GenerateFormFile(int elements, unsigned seed);

// How many elements a form read from GenerateFormFile(elements, seed) holds:
// the controls plus the captions their property fields bring along.
int GeneratedFormElementCount(int elements, unsigned seed);

}  // namespace fw
