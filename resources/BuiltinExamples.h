#pragma once

#include <string>

// The five example texts compiled into the programs.
inline constexpr int BuiltinExampleCount = 5;

struct TBuiltinExample {
    const char* MenuCaption;   // "Example &1"
    const char* WindowCaption; // shown while the example is open
    const char* FileName;      // document name, appended to the program's directory
};

// Number 1 to 5.
const TBuiltinExample& BuiltinExample(int Number);

// The example's text: its lines, each followed by CR LF, the last one too.
// Empty for a number outside 1 to 5.
std::string BuiltinExampleText(int Number);
