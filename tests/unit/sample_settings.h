// What the sample settings file must be, shared by its unit test and the
// package test.
#pragma once

#include <string>

namespace quandrel {

// Loaded with the program's own reader, every key gives its default.
void ExpectSampleSettingsLoadToDefaults(const std::string& bytes);
// Shift-JIS text with CR LF line ends; the three sections; every key of each
// with a ';' comment line right above it.
void ExpectSampleSettingsForm(const std::string& bytes);

}  // namespace quandrel
