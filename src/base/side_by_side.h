// Two pieces of work that touch nothing in common, run on both cores where
// that pays. The result never depends on it: where no thread can be had, or
// the work is too small to be worth starting one, they run one after the
// other on the calling thread.
#ifndef KINWEAVE_BASE_SIDE_BY_SIDE_H_
#define KINWEAVE_BASE_SIDE_BY_SIDE_H_

#include <functional>

namespace kw {

// Runs `here` on this thread and `beside` on a thread of its own when
// `worthAThread`, and returns when both are done; otherwise runs `here`,
// then `beside`. Neither may throw.
void SideBySide(bool worthAThread, const std::function<void()>& here,
                const std::function<void()>& beside);

}  // namespace kw

#endif  // KINWEAVE_BASE_SIDE_BY_SIDE_H_
