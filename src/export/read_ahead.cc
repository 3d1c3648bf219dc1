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
                     InputEncoding output)
    : inputs_{one, two}, wanted_(std::move(wanted)), output_(output) {
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
    if (entry.wanted.first > first) return false;  // still to come: kept for its turn
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

// Hands the batch in use back to the reader and waits for the next one.
// False when every batch has been taken.
bool ReadAhead::NextBatch() {
  std::unique_lock<std::mutex> lock(mutex_);
  current_ = nullptr;
  inUse_ = false;
  if (readerWaits_) changed_.notify_all();  // the batch given back may be filled again
  if (taken_ == BatchCount()) return false;
  exportWaits_ = true;
  changed_.wait(lock, [&] { return filled_ > taken_; });
  exportWaits_ = false;
  current_ = batches_[taken_ % kBatches].get();
  inUse_ = true;
  nextEntry_ = 0;
  ++taken_;
  return true;
}

// Batch j goes into ring place j % kBatches once the export has given back
// batch j - kBatches, which held that place before.
void ReadAhead::ReadAll() {
  for (size_t j = 0; j < BatchCount(); ++j) {
    {
      std::unique_lock<std::mutex> lock(mutex_);
      readerWaits_ = true;
      changed_.wait(lock, [&] {
        size_t givenBack = inUse_ ? taken_ - 1 : taken_;
        return stopping_ || j < givenBack + kBatches;
      });
      readerWaits_ = false;
      if (stopping_) return;
    }
    size_t from = j * kBatchRecords;
    Fill(*batches_[j % kBatches], from, std::min(wanted_.size(), from + kBatchRecords));
    std::lock_guard<std::mutex> lock(mutex_);
    filled_ = j + 1;
    if (exportWaits_) changed_.notify_all();
  }
}

void ReadAhead::Fill(Batch& batch, size_t from, size_t to) {
  batch.plans.Clear();
  batch.entries.clear();
  for (size_t i = from; i < to; ++i) {
    const Wanted& wanted = wanted_[i];
    BoxCounter quiet;
    Entry& entry = batch.entries.emplace_back();
    entry.wanted = wanted;
    entry.record =
        ReadAndMerge(inputs_[0], inputs_[1], wanted.first, wanted.second, trees_, quiet);
    entry.read = quiet.boxes == 0;
    if (entry.read) {
      entry.record.plans = &batch.plans;
      entry.record.steps = batch.plans.Plan(entry.record.merged, output_);
    }
    entry.record.merged = nullptr;
    trees_.Release();
  }
}

}  // namespace kw
