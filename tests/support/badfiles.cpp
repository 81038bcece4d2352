#include "support/badfiles.h"

#include <QFile>

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace badfiles {

bool whileUnreadable(const QString& path, const std::function<void()>& work)
{
    const QByteArray native = QFile::encodeName(path);
    if (::chmod(native.constData(), 0) != 0)
        return false;
    const bool root = ::geteuid() == 0;
    // The effective ids decide file access; the real ones stay root so that
    // they can be switched back. Group first: changing it needs root.
    if (root && (::setegid(65534) != 0 || ::seteuid(65534) != 0)) {
        (void)::setegid(0);
        return false;
    }
    const int fd = ::open(native.constData(), O_RDONLY);
    if (fd >= 0)
        ::close(fd);
    const bool unreadable = fd < 0;
    if (unreadable)
        work();
    if (root) {
        (void)::seteuid(0);
        (void)::setegid(0);
    }
    (void)::chmod(native.constData(), 0644);
    return unreadable;
}

bool neededRescueFromFifo(const QString& fifo, int seconds, const std::function<void()>& work)
{
    std::atomic<bool> done { false };
    std::atomic<bool> rescued { false };
    std::thread watchdog([&] {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (!done && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (done)
            return;
        rescued = true;
        // Opening for writing without blocking fails until a reader waits;
        // keep trying until the work's open succeeds or the work ends.
        while (!done) {
            const int fd = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) {
                ::close(fd);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
    work();
    done = true;
    watchdog.join();
    return rescued;
}

} // namespace badfiles
