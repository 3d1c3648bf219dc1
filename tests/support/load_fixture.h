// A whole loading setup for tests: a temporary folder, a store, a recording
// reporter and the log, with helpers to load GEDCOM text into a slot and to
// read back what the log file holds.
#ifndef KINWEAVE_TESTS_SUPPORT_LOAD_FIXTURE_H_
#define KINWEAVE_TESTS_SUPPORT_LOAD_FIXTURE_H_

#include <memory>
#include <string>

#include "base/merge_log.h"
#include "run/load.h"
#include "store/store.h"
#include "support/recording_reporter.h"
#include "support/test_files.h"

namespace kw::test {

struct LoadSetup {
  TempDir dir;
  std::unique_ptr<Store> store = std::make_unique<Store>();
  RecordingReporter reporter;
  MergeLog log{store->slots[0].filePath, reporter};

  // Writes `content` to `name` in the temporary folder and loads it.
  int Load(int slot, const std::string& name, const std::string& content) {
    std::string path = dir.File(name);
    WriteFile(path, content);
    return LoadPath(slot, path);
  }
  int LoadPath(int slot, const std::string& path) {
    return LoadSlot(*store, log, reporter, slot, path) == LoadResult::kLoaded ? 1 : 0;
  }
  // Copies the demo pair into the folder and loads it as the command line
  // does; the copies' paths.
  ExampleCopies LoadExamples() {
    ExampleCopies copies = CopyExamples(dir);
    LoadPath(0, copies.one);
    LoadPath(1, copies.two);
    return copies;
  }
  std::string LogText() const { return ReadFile(log.path()); }
  InputSlot& slot(int n) { return store->slots[n]; }
  Person& person(int slotNumber, int n) { return store->slots[slotNumber].persons[n]; }
  Family& family(int slotNumber, int n) { return store->slots[slotNumber].families[n]; }
};

}  // namespace kw::test

#endif  // KINWEAVE_TESTS_SUPPORT_LOAD_FIXTURE_H_
