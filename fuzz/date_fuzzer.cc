// Fuzz target: the date reader and the date text of the log. Any bytes are
// the value of a DATE line (up to its first NUL, as the parser hands it
// over). Checked: a date is accepted exactly when it is no longer marked
// incomplete, an accepted date passes the plausibility limits, and the text
// of any packed date, read or made up, fits its 26 bytes.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "check/describe.h"
#include "fuzz_support.h"
#include "import/date.h"
#include "store/scratch_ring.h"

namespace {

using namespace kw;

constexpr size_t kDateTextSize = 26;

void CheckText(ScratchRing& ring, PackedDate date) {
  const char* text = DateText(ring, date);
  if (DateYear(date) == 0 && DateMonth(date) == 0) {
    FUZZ_CHECK(text == nullptr);
    return;
  }
  FUZZ_CHECK(text != nullptr);
  FUZZ_CHECK(strnlen(text, kDateTextSize) < kDateTextSize);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  ScratchRing ring;

  PackedDate date = 0xFFFFFFFFu;  // whatever the field held before
  const int accepted = ParseDate(date, text.c_str());
  FUZZ_CHECK(accepted == 0 || accepted == 1);
  FUZZ_CHECK((accepted == 1) == !DateIncomplete(date));
  if (accepted == 1) {
    FUZZ_CHECK(DateYear(date) <= 2100);
    FUZZ_CHECK(DateSpan(date) <= 10);
    const int month = DateMonth(date);
    if (month >= 1 && month <= 12) FUZZ_CHECK(DateDay(date) <= 31);
    if (month == 2) FUZZ_CHECK(DateDay(date) <= 29);
  }
  CheckText(ring, date);

  // A null text leaves the target alone.
  PackedDate untouched = date;
  FUZZ_CHECK(ParseDate(untouched, nullptr) == 0);
  FUZZ_CHECK(untouched == date);

  // Every packed word the first bytes can spell, whatever the import would
  // store: qualifiers 5 to 7, months 13 to 15, days up to 31, long spans.
  if (size >= 4) {
    PackedDate raw;
    std::memcpy(&raw, data, sizeof raw);
    CheckText(ring, raw);
  }
  return 0;
}
