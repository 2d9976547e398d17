// Special functions of the evaluator's vocabulary: free functions of doubles,
// no state, no messages shown. Domain faults (invalid arguments, overflow)
// give a non-finite result, which the evaluator treats as a fault of its row.
// Functions that can fail in a named way also set `failure` to one of the
// fixed texts below (left nullptr on success); the evaluator treats any
// failure text as a fault of the row.
// Orders n are rounded to 32-bit integers, halves to even, where needed.
#pragma once

namespace vorlane::mSpecialFunctions {

inline constexpr const char* kIncompleteGammaTooLarge = "a and/or x too large";
inline constexpr const char* kHypergeometricDivergent = "The hypergeometric series is divergent";
inline constexpr const char* kHypergeometricAccuracy = "Warning! You should check the accuracy";

double Erf(double x);

// Gamma as mantissa x 10^exponent, so that its logarithm exists where the
// value itself would overflow a double.
void GammaSplit(double x, double& mantissa, double& exponent);
double Gamma(double x);    // mantissa x 10^exponent
double GammaLn(double x);  // ln(mantissa) + ln(10) x exponent
double Digamma(double x);
double Beta(double a, double b);
double Zeta(double s);

double Ei(double x);
double En(double x, double n);
double Si(double x);
double Ci(double x);
double FresnelS(double x);
double FresnelC(double x);
double AiryA(double x);
double AiryB(double x);

double J0(double x);
double Y0(double x);
double I0(double x);
double K0(double x);
double BesselJ(double x, double n);
double BesselY(double x, double n);
double BesselI(double x, double n);
double BesselK(double x, double n);

double GammaI(double a, double x, const char*& failure);               // P(a, x)
double BetaI(double x, double a, double b);                             // I_x(a, b)
double HypGeom(double x, double a, double b, double c, const char*& failure);  // 2F1(a, b; c; x)

// Amplitude in degrees; 90 gives the complete integral.
double Elli1(double phiDegrees, double k);
double Elli2(double phiDegrees, double k);
// The same with the amplitude in radians of the program's pi (kProgramPi is
// 180 degrees); below 90 degrees the radians are used as given, so that F
// near 90 degrees keeps the digits a conversion to degrees would round away.
inline constexpr double kProgramPi = 3.14159265358979;
double Elli1Radians(double phi, double k);
double Elli2Radians(double phi, double k);

double PolyLe(double x, double n);  // Legendre P_n
double PolyHe(double x, double n);  // Hermite H_n, physicists' form
double PolyLa(double x, double n);  // Laguerre L_n
double PolyCh(double x, double n);  // Chebyshev T_n

}  // namespace vorlane::mSpecialFunctions
