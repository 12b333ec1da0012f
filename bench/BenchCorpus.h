#pragma once

#include <cstdlib>
#include <string>

// The generated corpus files bench/run.sh names in environment variables, with the place
// run.sh puts them by default.
inline std::string CorpusFile(const char* variable, const char* fallback) {
  const char* path = std::getenv(variable);
  return path != nullptr ? path : fallback;
}

inline std::string HtmlCorpusFile() { return CorpusFile("TARNWICK_BENCH_HTML", "/tmp/tarnwick-bench/html50.html"); }
