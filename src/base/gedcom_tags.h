// The tags the tool looks for, as the numbers TagCode makes of them, so a
// line's tag is compared with one integer compare. One list for every
// layer: a tag spelled twice could be spelled two ways.
#ifndef KINWEAVE_BASE_GEDCOM_TAGS_H_
#define KINWEAVE_BASE_GEDCOM_TAGS_H_

#include <cstdint>

#include "base/gedcom_line.h"

namespace kw {

// Records.
inline constexpr uint32_t kHead = TagCode("HEAD");
inline constexpr uint32_t kIndi = TagCode("INDI");
inline constexpr uint32_t kFam = TagCode("FAM");
inline constexpr uint32_t kNote = TagCode("NOTE");
inline constexpr uint32_t kSour = TagCode("SOUR");
inline constexpr uint32_t kTrlr = TagCode("TRLR");

// Links between persons and families.
inline constexpr uint32_t kHusb = TagCode("HUSB");
inline constexpr uint32_t kWife = TagCode("WIFE");
inline constexpr uint32_t kChil = TagCode("CHIL");
inline constexpr uint32_t kFams = TagCode("FAMS");
inline constexpr uint32_t kFamc = TagCode("FAMC");

// Events and their dates.
inline constexpr uint32_t kBirt = TagCode("BIRT");
inline constexpr uint32_t kChr = TagCode("CHR");
inline constexpr uint32_t kDeat = TagCode("DEAT");
inline constexpr uint32_t kBuri = TagCode("BURI");
inline constexpr uint32_t kMarr = TagCode("MARR");
inline constexpr uint32_t kDate = TagCode("DATE");

}  // namespace kw

#endif  // KINWEAVE_BASE_GEDCOM_TAGS_H_
