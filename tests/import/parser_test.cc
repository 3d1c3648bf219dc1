// The record parser's progress through the load of a file. What lands in a
// slot is shown by the golden cases, which add every person of input file 2
// to the output (note-and-source-numbers-by-their-digits: the numbering of
// notes and sources), and a person of many families by the real-file tests
// (Married1200.ged) and the reference lists' own test.
#include "import/parser.h"

#include <gtest/gtest.h>

#include <string>

#include "support/load_fixture.h"

namespace kw {
namespace {

using test::LoadSetup;

TEST(ParserProgress, StepsAtMostOncePerHundredthAndEndsAtHundred) {
  LoadSetup s;
  std::string file = "0 HEAD\r\n";
  for (int n = 1; n <= 400; ++n) file += "0 @I" + std::to_string(n) + "@ INDI\r\n";
  s.Load(0, "a.ged", file + "0 TRLR\r\n");
  EXPECT_GE(s.reporter.progressSteps, 90);
  EXPECT_LE(s.reporter.progressSteps, 100);
  EXPECT_EQ(s.reporter.status[1], "100% erledigt");
  EXPECT_EQ(s.reporter.statusHistory[1], "1:1% erledigt");
}

}  // namespace
}  // namespace kw
