// The output's generated lines; copied lines are shown by the golden cases.
#include "export/record_io.h"

#include <gtest/gtest.h>

#include <string>

#include "support/test_files.h"

namespace kw {
namespace {

// A line formatted from a name longer than any the golden cases carry (a
// record of input file 2 under a long name) reaches the output whole, in
// the output's encoding.
TEST(GedcomOutput, WritesAGeneratedLineOfAnyLength) {
  test::TempDir dir;
  const std::string name(300, 'x');
  for (InputEncoding encoding : {kEncodingPlain, kEncodingUtf8}) {
    const std::string path = dir.File("out" + std::to_string(encoding) + ".ged");
    GedcomOutput output;
    ASSERT_TRUE(output.Open(path, encoding));
    output.WriteLine("0 @%s\xFC@ OBJE\n", name.c_str());
    ASSERT_TRUE(output.Commit());
    const std::string umlaut = encoding == kEncodingPlain ? "\xFC" : "\xC3\xBC";
    EXPECT_EQ(test::ReadFile(path), "0 @" + name + umlaut + "@ OBJE\n") << encoding;
  }
}

}  // namespace
}  // namespace kw
