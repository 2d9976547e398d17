#include "generate/ExprCache.h"

#include <gtest/gtest.h>

#include <string>

#include "evaluator/clsExprEvaluator.h"

namespace vorlane {
namespace {

// A text is compiled once and evaluated every time; "rnd" runs on in the
// shared evaluator exactly as without the cache; a text that does not
// compile leaves its reason in the shared evaluator.
TEST(ExprCache, CompilesOnceKeepsRandomSequenceAndReportsFailures) {
  clsExprEvaluator shared, alone;
  ExprCache cache;
  clsExprEvaluator* first = cache.Compile("{2*3}", shared);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(cache.Compile("{2*3}", shared), first);
  EXPECT_EQ(first->Eval(), 6);
  for (int i = 0; i < 5; ++i) {
    clsExprEvaluator* r = cache.Compile("{RND(10)+1}", shared);
    ASSERT_EQ(r, &shared);
    ASSERT_TRUE(alone.StoreExpression("{RND(10)+1}"));
    EXPECT_EQ(r->Eval(), alone.Eval()) << i;
    EXPECT_EQ(cache.Compile("{" + std::to_string(i) + "+1}", shared)->Eval(), i + 1);
  }
  EXPECT_EQ(cache.Compile("{2*}", shared), nullptr);
  EXPECT_EQ(shared.ErrorDescription(), "missing argument");
}

TEST(ExprCache, StaysBoundedAndCorrectPastItsCapacity) {
  ExprCache::SetDefaultCapacity(3);
  ExprCache cache;
  ExprCache::SetDefaultCapacity(ExprCache::kDefaultCapacity);
  clsExprEvaluator shared;
  for (int round = 0; round < 3; ++round) {
    for (int i = 0; i < 10; ++i) {
      clsExprEvaluator* e = cache.Compile("{" + std::to_string(i) + "*2}", shared);
      ASSERT_NE(e, nullptr);
      EXPECT_EQ(e->Eval(), 2 * i);
    }
  }
}

}  // namespace
}  // namespace vorlane
