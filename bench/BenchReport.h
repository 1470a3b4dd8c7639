#pragma once
// Timed runs that print one figure per line: "NAME: VALUE UNIT (target < LIMIT UNIT)".
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace orv::bench {

inline void report(std::string_view name, double value, std::string_view unit, double limit) {
  std::printf("%.*s: %.3f %.*s (target < %g %.*s)\n", int(name.size()), name.data(), value,
              int(unit.size()), unit.data(), limit, int(unit.size()), unit.data());
  std::fflush(stdout);
}

// The machine's load while a benchmark ran, for its report: "load average 1.52 1.20 0.98".
inline std::string loadAverage() {
  std::ifstream in("/proc/loadavg");
  double one = 0, five = 0, fifteen = 0;
  if (!(in >> one >> five >> fifteen)) return "load average unknown";
  char text[64];
  std::snprintf(text, sizeof text, "load average %.2f %.2f %.2f", one, five, fifteen);
  return text;
}

// Runs `f` `samples` times (after a warm-up) and returns the per-call times in nanoseconds, sorted.
template <class F>
std::vector<double> sampleNs(F&& f, int samples = 2000, int warmup = 50) {
  using Clock = std::chrono::steady_clock;
  for (int i = 0; i < warmup; ++i) f();
  std::vector<double> out;
  out.reserve(samples);
  for (int i = 0; i < samples; ++i) {
    const auto t0 = Clock::now();
    f();
    out.push_back(std::chrono::duration<double, std::nano>(Clock::now() - t0).count());
  }
  std::sort(out.begin(), out.end());
  return out;
}

inline double percentile(const std::vector<double>& sorted, double p) {
  if (sorted.empty()) return 0;
  const auto i = static_cast<std::size_t>(p / 100.0 * double(sorted.size() - 1));
  return sorted[i];
}
inline double median(const std::vector<double>& sorted) {
  return percentile(sorted, 50);
}

}  // namespace orv::bench
