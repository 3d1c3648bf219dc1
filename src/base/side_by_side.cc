#include "base/side_by_side.h"

#include <system_error>
#include <thread>

namespace kw {

void SideBySide(bool worthAThread, const std::function<void()>& here,
                const std::function<void()>& beside) {
  std::thread other;
  if (worthAThread) {
    try {
      other = std::thread(beside);
    } catch (const std::system_error&) {
      // No thread to be had (a process at its limit): one after the other.
    }
  }
  here();
  if (other.joinable()) {
    other.join();
  } else {
    beside();
  }
}

}  // namespace kw
