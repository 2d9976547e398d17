// The evaluator's vocabulary: function codes, the function table and the
// lookups the compiler and the evaluation share. Internal to the evaluator.
#pragma once

#include <limits>
#include <span>
#include <string_view>

namespace vorlane::expr {

// The program's own decimals, not the full-precision doubles.
inline constexpr double kPi = 3.14159265358979;
inline constexpr double kTwoPi = 6.28318530717958;
inline constexpr double kSnap = 5e-14;
inline constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Function codes, one per computation in Compute (ExprCompute.cpp), which
// switches on this type: a code without its case does not compile. Names
// with the same code are synonyms. The codes are stored in programs; a new
// function takes the next free number after the last and one row in the
// function table (ExprFunctions.cpp), from which the count is derived.
enum Code : int {
  kUnknown = -1, kRight = -2,
  kAdd = 0, kSub = 1, kMul = 2, kDiv = 3, kPercent = 4, kIntDiv = 5, kPow = 6,
  kAbs = 7, kAtn = 8, kCos = 9, kSin = 11, kExp = 12, kFix = 13, kInt = 14, kLn = 15, kLog = 16,
  kRnd = 17, kSgn = 18, kSqr = 19, kTan = 20, kAcos = 21, kAsin = 22, kCosh = 23, kSinh = 24,
  kTanh = 25, kAcosh = 26, kAsinh = 27, kAtanh = 28, kMod = 29, kFact = 30, kComb = 31, kMin = 32,
  kMax = 33, kGcd = 34, kLcm = 35, kGt = 36, kGe = 37, kLt = 38, kLe = 39, kEq = 40, kNe = 41,
  kAnd = 42, kOr = 43, kNot = 44, kXor = 45, kErf = 46, kGamma = 47, kGammaLn = 48, kDigamma = 49,
  kBeta = 50, kZeta = 51, kEi = 52, kCsc = 53, kSec = 54, kCot = 55, kAcsc = 56, kAsec = 57,
  kAcot = 58, kCsch = 59, kSech = 60, kCoth = 61, kAcsch = 62, kAsech = 63, kAcoth = 64, kCbr = 65,
  kRoot = 66, kDec = 67, kRad = 68, kDeg = 69, kRound = 70, kGrad = 71, kNand = 72, kNor = 73,
  kNxor = 74, kNeg = 75, kPerm = 76, kLogN = 77, kDPoisson = 78, kCPoisson = 79, kEin = 80,
  kSi = 81, kCi = 82, kFresnelS = 83, kFresnelC = 84, kBesselJ = 85, kBesselY = 86, kBesselI = 87,
  kBesselK = 88, kJ0 = 89, kY0 = 90, kK0 = 91, kI0 = 92, kGammaI = 94, kPolyLe = 95, kPolyLa = 96,
  kPolyHe = 97, kPolyCh = 98, kAiryA = 99, kAiryB = 100, kElli1 = 101, kElli2 = 102, kWTri = 103,
  kWSqr = 104, kWSaw = 105, kWRaise = 106, kWParab = 107,
  kDNorm = 201, kCNorm = 202, kDBinom = 203, kCBinom = 204, kHypGeom = 205, kBetaI = 206,
  kClip = 207, kWRect = 208, kWTrapez = 209, kWLin = 210, kWPulse = 211, kWSteps = 212,
  kWExp = 213, kWExpB = 214, kWPulseF = 215, kWRipple = 216, kWRing = 217, kWAm = 218, kWFm = 219,
};

// What a function's result depends on besides its arguments. Only pure
// functions of constant arguments are computed once at compile time.
enum class Depends : unsigned char { kPure, kAngleUnit, kRandom };

// One row of the function table: the name, its code, the number of
// arguments when written as a function (0: an operator or internal name),
// and what else the result depends on.
struct FunInfo {
  std::string_view name;
  Code code;
  int args;
  Depends depends;
};

// The row of a name, compared without regard to case; nullptr if unknown.
const FunInfo* FindFunction(std::string_view name);
// Every row that is written as a function ("sqr", "max"), in table order.
std::span<const FunInfo> NamedFunctions();
// The code of a comparison operator, or kUnknown.
int ComparisonCode(std::string_view op);
inline bool IsComparison(int code) { return code >= kGt && code <= kNe; }
bool IsTwoArgumentFunction(std::string_view name);
// Whether a row of this code with constant arguments may be computed once at
// compile time: a pure function of the table. Codes outside the table are
// not foldable.
bool IsFoldable(int code);
// One past the highest code of the function table.
int CodeLimit();

char LowerAscii(char c);
bool EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace vorlane::expr
