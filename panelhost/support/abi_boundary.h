// Marks a function where panelhost and a native module meet through their binary interface rather
// than through shared C++ types: each side declares the function in its own words, so clang's
// check that a function is called through its own type does not apply there.
#pragma once

#if defined(__clang__)
#define PANELHOST_ABI_BOUNDARY __attribute__((no_sanitize("function")))
#else
#define PANELHOST_ABI_BOUNDARY
#endif
