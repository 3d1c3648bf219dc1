#include "export/read_ahead.h"

#include <algorithm>
#include <string_view>
#include <system_error>
#include <utility>

#include "base/reporter.h"
#include "export/tree_merge.h"

namespace kw {

namespace {

// Records per batch, and batches read ahead: enough to ride over a few
// long records and to wake the other side rarely, few enough to stay in
// the caches.
constexpr size_t kBatchRecords = 64;
constexpr size_t kBatches = 4;

// The reading thread shows no box: it only notes that a reading would
// have shown one, and the export reads that record again itself.
class BoxCounter : public Reporter {
 public:
  void ShowStatus(int, std::string_view) override {}
  void ShowError(std::string_view) override { ++boxes; }
  void ShowMessage(std::string_view, std::string_view) override { ++boxes; }
  void CreateProgress() override {}
  void StepProgress() override {}
  void DestroyProgress() override {}
  void Wait(int) override {}

  int boxes = 0;
};

}  // namespace

ReadAhead::Record ReadAndMerge(InputText& one, InputText& two, int64_t first, int64_t second,
                               LineArena& arena, Reporter& reporter) {
  ReadAhead::Record record;
  record.merged = ReadGED(one, first, arena, reporter, &record.nextRecord);
  LineNode* partner = second >= 0 ? ReadGED(two, second, arena, reporter) : nullptr;
  MergeRecordTrees(record.merged, partner, arena);
  return record;
}

ReadAhead::ReadAhead(const InputText& one, const InputText& two, std::vector<Wanted> wanted,
                     InputEncoding output, Order order)
    : inputs_{one, two}, wanted_(std::move(wanted)), output_(output), order_(order) {
  if (wanted_.empty()) return;
  for (size_t k = 0; k < kBatches; ++k) batches_.push_back(std::make_unique<Batch>());
  try {
    reader_ = std::thread([this] { ReadAll(); });
  } catch (const std::system_error&) {
    // No thread to be had: the export reads every record itself.
  }
}

ReadAhead::~ReadAhead() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  if (reader_.joinable()) reader_.join();
}

bool ReadAhead::Take(int64_t first, int64_t second, Record* record) {
  if (!reader_.joinable()) return false;
  for (;;) {
    if (current_ == nullptr || nextEntry_ == current_->entries.size()) {
      if (!NextBatch()) return false;
    }
    const Entry& entry = current_->entries[nextEntry_];
    const bool later = order_ == Order::kAsWanted ? entry.wanted.first != first
                                                  : entry.wanted.first > first;
    if (later) return false;  // still to come: kept for its turn
    ++nextEntry_;
    if (entry.wanted.first < first) continue;  // never asked for: dropped
    if (!entry.read || entry.wanted.second != second) return false;
    *record = entry.record;
    return true;
  }
}

size_t ReadAhead::BatchCount() const {
  return (wanted_.size() + kBatchRecords - 1) / kBatchRecords;
}

// Hands the batch in use back and takes the next one. While that one is
// not ready, the export does not wait idle: where a place in the ring is
// free, it claims the next batch no one has begun and fills it itself, as
// the reader would. So whichever side is faster does more of the reading.
// False when every batch has been taken.
bool ReadAhead::NextBatch() {
  std::unique_lock<std::mutex> lock(mutex_);
  current_ = nullptr;
  inUse_ = false;
  if (readerWaits_) changed_.notify_all();  // the batch given back may be filled again
  if (taken_ == BatchCount()) return false;
  Batch& next = *batches_[taken_ % kBatches];
  while (!next.ready || next.index != taken_) {
    if (CanClaim()) {
      size_t j = Claim();
      lock.unlock();
      Fill(j, exportTrees_);
      lock.lock();
      continue;
    }
    // Every batch up to the next one is claimed: the reader fills it.
    exportWaits_ = true;
    changed_.wait(lock, [&] { return next.ready && next.index == taken_; });
    exportWaits_ = false;
  }
  current_ = &next;
  inUse_ = true;
  nextEntry_ = 0;
  ++taken_;
  return true;
}

// Batch j goes into ring place j % kBatches once the export has given back
// batch j - kBatches, which held that place before.
bool ReadAhead::CanClaim() const {
  size_t givenBack = inUse_ ? taken_ - 1 : taken_;
  return claimed_ < BatchCount() && claimed_ < givenBack + kBatches;
}

size_t ReadAhead::Claim() {
  size_t j = claimed_++;
  batches_[j % kBatches]->ready = false;
  return j;
}

void ReadAhead::ReadAll() {
  for (;;) {
    size_t j = 0;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      readerWaits_ = true;
      changed_.wait(lock, [&] { return stopping_ || claimed_ == BatchCount() || CanClaim(); });
      readerWaits_ = false;
      if (stopping_ || claimed_ == BatchCount()) return;
      j = Claim();
    }
    Fill(j, readerTrees_);
  }
}

// Reads, merges and plans the pairs of batch j into its place, with trees
// in `trees` (the filling side's own), and makes it ready.
void ReadAhead::Fill(size_t j, LineArena& trees) {
  Batch& batch = *batches_[j % kBatches];
  batch.plans.Clear();
  batch.entries.clear();
  // Read positions of the filling side's own.
  InputText one = inputs_[0];
  InputText two = inputs_[1];
  size_t from = j * kBatchRecords;
  size_t to = std::min(wanted_.size(), from + kBatchRecords);
  for (size_t i = from; i < to; ++i) {
    const Wanted& wanted = wanted_[i];
    BoxCounter quiet;
    Entry& entry = batch.entries.emplace_back();
    entry.wanted = wanted;
    entry.record = ReadAndMerge(one, two, wanted.first, wanted.second, trees, quiet);
    entry.read = quiet.boxes == 0;
    if (entry.read) {
      entry.record.plans = &batch.plans;
      entry.record.steps = batch.plans.Plan(entry.record.merged, output_);
    }
    entry.record.merged = nullptr;
    trees.Release();
  }
  std::lock_guard<std::mutex> lock(mutex_);
  batch.index = j;
  batch.ready = true;
  if (exportWaits_) changed_.notify_all();
}

}  // namespace kw
