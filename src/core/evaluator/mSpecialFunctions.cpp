// Placeholder bodies until the real algorithms land: every call is a fault.
#include "evaluator/mSpecialFunctions.h"

#include <limits>

namespace vorlane::mSpecialFunctions {

namespace { constexpr double kNaN = std::numeric_limits<double>::quiet_NaN(); }

double Erf(double) { return kNaN; }
void GammaSplit(double, double&, double&) {}
double Gamma(double) { return kNaN; }
double GammaLn(double) { return kNaN; }
double Digamma(double) { return kNaN; }
double Beta(double, double) { return kNaN; }
double Zeta(double) { return kNaN; }
double Ei(double) { return kNaN; }
double En(double, double) { return kNaN; }
double Si(double) { return kNaN; }
double Ci(double) { return kNaN; }
double FresnelS(double) { return kNaN; }
double FresnelC(double) { return kNaN; }
double AiryA(double) { return kNaN; }
double AiryB(double) { return kNaN; }
double J0(double) { return kNaN; }
double Y0(double) { return kNaN; }
double I0(double) { return kNaN; }
double K0(double) { return kNaN; }
double BesselJ(double, double) { return kNaN; }
double BesselY(double, double) { return kNaN; }
double BesselI(double, double) { return kNaN; }
double BesselK(double, double) { return kNaN; }
double GammaI(double, double, const char*&) { return kNaN; }
double BetaI(double, double, double) { return kNaN; }
double HypGeom(double, double, double, double, const char*&) { return kNaN; }
double Elli1(double, double) { return kNaN; }
double Elli2(double, double) { return kNaN; }
double PolyLe(double, double) { return kNaN; }
double PolyHe(double, double) { return kNaN; }
double PolyLa(double, double) { return kNaN; }
double PolyCh(double, double) { return kNaN; }

}  // namespace vorlane::mSpecialFunctions
