#pragma once
// Readable GoogleTest output for the trend's spans and points.

#include "analysis/TrendSeries.h"

#include <iomanip>
#include <ostream>

namespace analysis {
inline void PrintTo(const Span& s, std::ostream* os) {
  *os << std::setprecision(15) << '[' << s.first << ", " << s.last << ']';
}
inline void PrintTo(const TrendPoint& p, std::ostream* os) {
  *os << std::setprecision(15) << '(' << p.time << ", " << p.value << ')';
}
}  // namespace analysis
