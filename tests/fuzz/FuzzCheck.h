#pragma once
// What a fuzz target does when an input breaks a promise of the code under
// test: say which, and abort, so the fuzzer keeps the input as a crash.

#include <cstdio>
#include <cstdlib>

inline void Require(bool holds, const char* promise) {
  if (holds) return;
  std::fprintf(stderr, "broken promise: %s\n", promise);
  std::abort();
}
