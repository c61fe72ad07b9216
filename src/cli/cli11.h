// The command-line library, for every file of the program that declares or parses options.
//
// GCC 12 at -O2 reports a null dereference inside the library's string splitting wherever
// that code is inlined; the library's code is not ours to warn about.
#pragma once

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnull-dereference"
#endif
#include <CLI/CLI.hpp>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
