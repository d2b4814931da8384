#pragma once
// The process's resident memory from /proc/self/status, and its peak since
// the last reset, for tests and benchmarks that bound what a step needs.

#include <cstddef>
#include <fstream>
#include <string>

// The value of a "Name:   1234 kB" line, in bytes; 0 when there is none.
inline std::size_t StatusBytes(const std::string& name) {
  std::ifstream status("/proc/self/status");
  std::string key;
  std::size_t kilobytes = 0;
  while (status >> key) {
    if (key == name + ":" && status >> kilobytes) return kilobytes * 1024;
    status.ignore(1 << 10, '\n');
  }
  return 0;
}

inline std::size_t ResidentBytes() { return StatusBytes("VmRSS"); }
inline std::size_t PeakResidentBytes() { return StatusBytes("VmHWM"); }

// Makes the peak the current resident size again.
inline void ResetPeakResident() { std::ofstream("/proc/self/clear_refs") << "5"; }
