// Exact decimal digits of a double, rounded half away from zero.
#include "text/decimal_rounding.h"

#include <cmath>
#include <cstdio>

namespace {

// Every double has a finite decimal expansion of at most 767 significant digits,
// so this many digits after the first one print it exactly (nothing is rounded).
constexpr int kExactPrecision = 780;

// The exact expansion of |value| (finite, non-zero): `count` digits without the
// trailing zeros, value = 0.digits x 10^exponent.
struct ExactDecimal {
    char digits[kExactPrecision + 1];
    int count;
    int exponent;
};

// Precision of %e that prints |value| exactly. With value = M x 2^-k (M odd),
// the expansion is M x 5^k / 10^k: at most 16 digits of M and k*log10(5) more;
// an integer (k <= 0) has as many as its logarithm says, at most 309. Asking for no more than that
// keeps the common short numbers cheap.
int exact_precision(double magnitude) {
    int binary_exponent = 0;
    double fraction = std::frexp(magnitude, &binary_exponent);
    // 53 bits of fraction as an integer; dropping its trailing zero bits makes M odd.
    auto mantissa = static_cast<unsigned long long>(std::ldexp(fraction, 53));
    int k = 53 - binary_exponent;
    while (k > 0 && mantissa != 0 && (mantissa & 1u) == 0) {
        mantissa >>= 1;
        --k;
    }
    // An integer's digit count comes from its logarithm, with a margin for its rounding.
    int precision =
        k <= 0 ? static_cast<int>(std::log10(magnitude)) + 2 : 19 + (k * 699 + 999) / 1000;
    return precision < kExactPrecision ? precision : kExactPrecision;
}

// The C library's %e conversion is exact at that precision; only the radix
// character depends on the locale, so everything but ASCII digits before the
// exponent letter is skipped.
void exact_decimal(double magnitude, ExactDecimal& out) {
    char text[kExactPrecision + 64];
    int n = std::snprintf(text, sizeof text, "%.*e", exact_precision(magnitude), magnitude);
    if (n < 0 || n >= static_cast<int>(sizeof text)) n = static_cast<int>(sizeof text) - 1;
    out.count = 0;
    int i = 0;
    for (; i < n && text[i] != 'e' && text[i] != 'E'; ++i) {
        if (text[i] >= '0' && text[i] <= '9' && out.count <= kExactPrecision)
            out.digits[out.count++] = text[i];
    }
    int sign = 1, exp10 = 0;
    if (i < n) ++i;
    if (i < n && (text[i] == '-' || text[i] == '+')) sign = text[i++] == '-' ? -1 : 1;
    for (; i < n && text[i] >= '0' && text[i] <= '9'; ++i)
        exp10 = exp10 * 10 + (text[i] - '0');
    out.exponent = sign * exp10 + 1; // %e puts one digit before the point
    while (out.count > 0 && out.digits[out.count - 1] == '0')
        --out.count;
}

// Keeps the first `keep` digits of the exact expansion (keep may be <= 0 or
// beyond its length) and rounds half away from zero. The digit after the kept
// ones decides alone: it is exact, and a remainder is at least half exactly
// when that digit is 5 or more. A carry out of the leading digit moves the
// exponent up; with `grow` the result then has keep + 1 digits (a fixed number
// of decimals), without it keep digits (a fixed number of significant digits).
bool round_exact(const ExactDecimal& exact, int keep, bool grow, DecimalDigits& out) {
    out.count = 0;
    out.exponent = exact.exponent;
    if (keep < 0) return true; // below half a unit of the last kept place: zero
    if (keep > kMaxDecimalDigits) return false;
    for (int i = 0; i < keep; ++i)
        out.digits[i] = i < exact.count ? exact.digits[i] : '0';
    out.count = keep;
    bool up = keep < exact.count && exact.digits[keep] >= '5';
    if (up) {
        int i = keep - 1;
        while (i >= 0 && out.digits[i] == '9')
            out.digits[i--] = '0';
        if (i >= 0) {
            ++out.digits[i];
        } else {
            // Carry out of the leading digit: 99..9 became 100..0, one place higher.
            int count = grow ? keep + 1 : keep;
            if (count > kMaxDecimalDigits) return false;
            out.digits[0] = '1';
            for (int j = 1; j < count; ++j)
                out.digits[j] = '0';
            out.count = count;
            ++out.exponent;
        }
    }
    return true;
}

} // namespace

bool round_significant(double value, int significant, DecimalDigits& out) {
    out.count = 0;
    out.exponent = 0;
    if (!std::isfinite(value) || significant < 1 || significant > kMaxDecimalDigits) return false;
    if (value == 0) return true;
    ExactDecimal exact;
    exact_decimal(std::fabs(value), exact);
    return round_exact(exact, significant, false, out);
}

bool round_decimals(double value, int decimals, DecimalDigits& out) {
    out.count = 0;
    out.exponent = 0;
    if (!std::isfinite(value) || decimals < 0 || decimals > kMaxDecimalDigits) return false;
    if (value == 0) return true;
    ExactDecimal exact;
    exact_decimal(std::fabs(value), exact);
    // Too large for any field: refuse before the digit count is computed (no overflow).
    if (exact.exponent > kMaxDecimalDigits) return false;
    // A carry makes the number one digit longer and moves the exponent with it,
    // so count = exponent + decimals holds in either case.
    if (!round_exact(exact, exact.exponent + decimals, true, out)) return false;
    if (out.count == 0) out.exponent = 0;
    return true;
}
