// The phonetic code of a name: names that sound alike (Meier and Mayer,
// Schmidt and Schmitt, Müller and Mueller) get the same short string of
// class digits. The name distances compare two codes for plain equality;
// nothing else is done with a code, and no code is ever stored.
#ifndef KINWEAVE_MATCH_PHONETIC_H_
#define KINWEAVE_MATCH_PHONETIC_H_

#include "store/scratch_ring.h"

namespace kw {

// The class digit (1 to 9) of one raw byte, or 0 when the byte belongs to no
// class. The classes are p f | b v | c s z k ß | g j q | d t | l | m | n |
// r x, in either case; vowels, h, w, y, umlauts, accented letters, digits
// and punctuation belong to none. No folding: only the listed bytes count.
int PhoneticClass(unsigned char c);

// The code of `name` (which may be null): the class digits '1' to '9' in the
// order in which the name first reaches each class, each digit once, at most
// five, never padded. Coding starts at the first byte from 'A' (0x41) to 'z'
// (0x7A); every byte before it is passed over.
//
// The result is a 10-byte slot of the scratch ring, zero after the last
// digit; it stays valid until the ring wraps back to it, so two codes can be
// compared side by side but are used at once.
const char* PhoneticCode(ScratchRing& ring, const char* name);

}  // namespace kw

#endif  // KINWEAVE_MATCH_PHONETIC_H_
