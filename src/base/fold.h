// Case- and accent-folded comparison of Windows-1252 texts: the month-name
// test of the date reader, the order of the person sort and the equality and
// prefix tests of the name distances all use it.
#ifndef KINWEAVE_BASE_FOLD_H_
#define KINWEAVE_BASE_FOLD_H_

namespace kw {

// The folded value of one byte: capitals to small letters, accented letters
// to their plain letter (Ä to a, ß to s), the end of a text (0) to 0x20, the
// lowest value of all.
int FoldByte(unsigned char c);

// Compares at most `limit` positions (position 0 always). Returns 0 when
// equal, a positive number when `first` sorts BEFORE `second` and a negative
// one when after: the reverse of strcmp. An absent text on either side, or
// the same text object twice, compares equal.
int FoldCompare(const char* first, const char* second, int limit);

}  // namespace kw

#endif  // KINWEAVE_BASE_FOLD_H_
