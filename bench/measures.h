// Clocks, process memory and the plain-write reference the figures are judged against.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

double MillisecondsBetween(Clock::time_point from, Clock::time_point to);

// Peak resident memory of this process so far (VmHWM), in KiB; 0 when unknown.
long PeakResidentKiB();

double Median(std::vector<double> values);
double Max(const std::vector<double>& values);

// Writes the bytes to a new file in the folder with write() and fsync(), the least a save
// can do; returns the milliseconds taken, or a negative value when the write failed.
double TimePlainWriteAndSync(const std::filesystem::path& folder, const std::string& bytes);

// Runs `iconv -f CP1252 -t UTF-8 FILE > /dev/null`, the plain conversion from the disk an
// open is compared with; returns the milliseconds taken, or a negative value on failure.
double TimeIconv(const std::filesystem::path& file);

}  // namespace bench
