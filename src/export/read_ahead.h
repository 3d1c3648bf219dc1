// Reading ahead: the records the export will merge or add, read back,
// merged as trees and planned for writing on a thread of their own while
// the export writes the records before them.
//
// Re-reading two records and merging their trees needs nothing but the
// input bytes, and the export knows before it starts which records of
// input file 1 it will merge with which record of input file 2, in file
// order; and, before it writes the records it has added so far, which
// records of input file 2 they are, in the order of their new numbers. A
// ReadAhead reads, merges and plans those pairs (or records alone) in that
// order into a few batches of plans, and hands them over one batch at a
// time.
// Where the next batch is not ready, the export fills a batch no one has
// begun itself instead of waiting. The trees read are released once
// planned: each side has one small arena of trees, which stays in its
// core's caches.
//
// The result never depends on it. The export asks for every record it
// needs and reads it itself whenever the read-ahead does not hold exactly
// that record: one it did not foresee, one asked for out of order, one
// whose reading would have shown a box (the box must come at its place in
// the run), or any record at all when no thread could be had.
#ifndef KINWEAVE_EXPORT_READ_AHEAD_H_
#define KINWEAVE_EXPORT_READ_AHEAD_H_

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "export/line_node.h"
#include "export/record_io.h"
#include "export/record_plan.h"

namespace kw {

class ReadAhead {
 public:
  // A record of the first input and its partner record of the second, by
  // the positions of their first sub-lines (`second` -1: no partner).
  struct Wanted {
    int64_t first = 0;
    int64_t second = -1;
  };

  // How the records will be asked for.
  enum class Order {
    // In file order of the first input; the export may pass some by.
    kFileOrder,
    // Exactly as wanted, with others not read ahead asked for in between.
    kAsWanted,
  };

  // A wanted pair read back: the tree ReadGED gives for `first` with the
  // one it gives for `second` merged into it (MergeRecordTrees), and
  // ReadGED's `nextRecord` for `first`. One taken from the read-ahead has
  // no tree but its plan: its steps are `steps` of `plans`, which live
  // until the next call of Take.
  struct Record {
    LineNode* merged = nullptr;  // null in one taken from the read-ahead
    int64_t nextRecord = -1;
    const RecordPlans* plans = nullptr;  // null: not planned
    RecordPlans::Range steps;
  };

  // `one` and `two` view the input files (their bytes must outlive this
  // object); `wanted` is in the order the records will be asked for; the
  // records are planned for an output of encoding `output`. Starts the
  // reading thread when there is something to read and a thread can be
  // had.
  ReadAhead(const InputText& one, const InputText& two, std::vector<Wanted> wanted,
            InputEncoding output, Order order = Order::kFileOrder);
  // Stops the reading thread, read or not.
  ~ReadAhead();
  ReadAhead(const ReadAhead&) = delete;
  ReadAhead& operator=(const ReadAhead&) = delete;

  // The pair (`first`, `second`) when it was read ahead and is the next
  // wanted one; otherwise false, and the caller reads it itself. In file
  // order, the next wanted one is the first at or after every pair asked
  // for before: pairs wanted before it that were never asked for are
  // dropped. As wanted, an ask for any other pair changes nothing.
  bool Take(int64_t first, int64_t second, Record* record);

 private:
  struct Entry {
    Wanted wanted;
    bool read = false;  // false: a box ended a reading
    Record record;
  };
  struct Batch {
    RecordPlans plans;
    std::vector<Entry> entries;
    // Under mutex_: the batch this place holds, and whether it is filled.
    size_t index = 0;
    bool ready = false;
  };

  size_t BatchCount() const;
  void ReadAll();
  void Fill(size_t j, LineArena& trees);
  bool NextBatch();
  bool CanClaim() const;
  size_t Claim();

  InputText inputs_[2];
  std::vector<Wanted> wanted_;
  InputEncoding output_;
  Order order_;
  std::vector<std::unique_ptr<Batch>> batches_;
  LineArena readerTrees_;  // for one record at a time
  LineArena exportTrees_;

  std::mutex mutex_;
  std::condition_variable changed_;
  size_t claimed_ = 0;  // batches begun by either side
  size_t taken_ = 0;    // batches the export has taken (the one in use too)
  bool inUse_ = false;  // whether the export holds batch taken_ - 1
  bool readerWaits_ = false;
  bool exportWaits_ = false;
  bool stopping_ = false;
  std::thread reader_;

  // The export's side: the batch in use and its next entry.
  const Batch* current_ = nullptr;
  size_t nextEntry_ = 0;
};

// Reads the record of `one` at `first` and the one of `two` at `second`
// (-1: none), both with ReadGED into `arena`, and merges the second into
// the first: what the read-ahead reads, and what the export reads itself
// where the read-ahead holds nothing for it.
ReadAhead::Record ReadAndMerge(InputText& one, InputText& two, int64_t first, int64_t second,
                               LineArena& arena, Reporter& reporter);

}  // namespace kw

#endif  // KINWEAVE_EXPORT_READ_AHEAD_H_
