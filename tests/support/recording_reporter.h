// A Reporter that remembers everything it is told, for the tests and the
// fuzz targets. Its chooser, the base class's, chooses nothing.
#ifndef KINWEAVE_TESTS_SUPPORT_RECORDING_REPORTER_H_
#define KINWEAVE_TESTS_SUPPORT_RECORDING_REPORTER_H_

#include <string>
#include <vector>

#include "base/reporter.h"

namespace kw {

class RecordingReporter : public Reporter {
 public:
  void ShowStatus(int part, std::string_view text) override {
    status[part == 0 ? 0 : 1] = std::string(text);
    statusHistory.push_back(std::to_string(part) + ":" + std::string(text));
  }
  void ShowError(std::string_view text) override { errors.emplace_back(text); }
  void ShowMessage(std::string_view caption, std::string_view text) override {
    messages.push_back(std::string(caption) + "|" + std::string(text));
  }
  void CreateProgress() override { ++progressCreated; }
  void StepProgress() override { ++progressSteps; }
  void DestroyProgress() override { ++progressDestroyed; }
  void Wait(int milliseconds) override { waitedMilliseconds += milliseconds; }
  void ShowInputPath(int slot, std::string_view path) override {
    inputPath[slot == 0 ? 0 : 1] = std::string(path);
  }

  std::string status[2];
  std::vector<std::string> statusHistory;  // "part:text" in order
  std::vector<std::string> errors;
  std::vector<std::string> messages;       // "caption|text"
  int progressCreated = 0;
  int progressDestroyed = 0;
  int progressSteps = 0;  // steps over all indicators
  int waitedMilliseconds = 0;
  std::string inputPath[2];
};

}  // namespace kw

#endif  // KINWEAVE_TESTS_SUPPORT_RECORDING_REPORTER_H_
