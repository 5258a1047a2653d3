#include "tools/soundgen/resample.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr double PI = 3.14159265358979323846;
// Zero crossings of the sinc on each side: the filter falls from pass to stop over about 4 % of the
// lower rate, and the Kaiser window's shape keeps the stop band some 85 dB down.
constexpr int ZEROS = 64;
constexpr double KAISER_BETA = 8.6;

double Bessel_I0(double x) {
  double sum = 1, term = 1;
  for (int k = 1; k < 50 && term > 1e-12 * sum; ++k) {
    term *= (x / (2 * k)) * (x / (2 * k));
    sum += term;
  }
  return sum;
}

}  // namespace

Samples Resample(const Samples& in, double from_hz, double to_hz, bool periodic) {
  const long n = static_cast<long>(in.size());
  if (n == 0 || from_hz == to_hz) return in;
  const long out_n = std::max(1L, std::lround(static_cast<double>(n) * to_hz / from_hz));
  // Where the old samples lie, in new sample steps, and the cutoff as a fraction of the old rate.
  const double step = static_cast<double>(n) / static_cast<double>(out_n);
  const double cutoff =
      0.5 * std::min(1.0, to_hz / from_hz) * 0.96;  // stop band from the Nyquist frequency on
  const double half = ZEROS / (2 * cutoff);         // the filter's half-width in old samples
  // The kernel tabulated finely enough that linear steps between its entries are far below the
  // stop band.
  constexpr int PER_SAMPLE = 512;
  const int entries = static_cast<int>(std::ceil(half * PER_SAMPLE)) + 2;
  std::vector<double> kernel(static_cast<size_t>(entries));
  const double i0_beta = Bessel_I0(KAISER_BETA);
  for (int j = 0; j < entries; ++j) {
    const double d = static_cast<double>(j) / PER_SAMPLE, x = 2 * cutoff * d, r = std::min(1.0, d / half);
    const double sinc = x == 0 ? 1 : std::sin(PI * x) / (PI * x);
    kernel[static_cast<size_t>(j)] =
        2 * cutoff * sinc * Bessel_I0(KAISER_BETA * std::sqrt(1 - r * r)) / i0_beta;
  }
  Samples out(static_cast<size_t>(out_n));
  for (long m = 0; m < out_n; ++m) {
    const double p = static_cast<double>(m) * step;
    const long first = static_cast<long>(std::ceil(p - half)), last = static_cast<long>(std::floor(p + half));
    double sum = 0;
    for (long k = first; k <= last; ++k) {
      long i = k;
      if (periodic) {
        i %= n;
        if (i < 0) i += n;
      } else if (i < 0 || i >= n) {
        continue;
      }
      const double at = std::fabs(static_cast<double>(k) - p) * PER_SAMPLE;
      const size_t j = static_cast<size_t>(at);
      const double f = at - static_cast<double>(j);
      sum += static_cast<double>(in[static_cast<size_t>(i)]) * (kernel[j] + f * (kernel[j + 1] - kernel[j]));
    }
    out[static_cast<size_t>(m)] = static_cast<float>(sum);
  }
  return out;
}
