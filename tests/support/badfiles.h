#pragma once

#include <QString>
#include <functional>

/// Helpers for files that cannot be read the ordinary way.
namespace badfiles {

/// Runs `work` while `path` cannot be read by this process: the file's mode
/// is 0000, and when the process runs as root (which reads anything) the
/// effective user is switched to "nobody" for the duration. Returns false,
/// running nothing, where neither can be arranged.
bool whileUnreadable(const QString& path, const std::function<void()>& work);

/// Runs `work`; if it is still running after `seconds`, opens the FIFO
/// `fifo` for writing and closes it again, which ends any read blocked on it.
/// Returns true when that rescue was needed (the work would have hung).
bool neededRescueFromFifo(const QString& fifo, int seconds, const std::function<void()>& work);

} // namespace badfiles
