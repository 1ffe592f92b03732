#include "support/output_file.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <thread>

#include "support/host_error.h"
#include "support/shown_text.h"

namespace panelhost {

namespace {

std::string folderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A link to a regular file is written through: the file it names is replaced, not the link.
std::string followedLink(const std::string& path) {
  char resolved[PATH_MAX];
  return realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : path;
}

// A FIFO opened for writing without a reader fails at once (ENXIO) when it does not block; it
// is tried again until a reader comes or the wait is over.
int openFifo(const std::string& path) {
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::milliseconds(kLongestStallMs);
  for (;;) {
    const int descriptor = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (descriptor >= 0 || errno != ENXIO || std::chrono::steady_clock::now() > giveUp) {
      return descriptor;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

// A write to a FIFO whose reader has gone raises SIGPIPE, which would end panelhost without a
// word; it is held back around the write, so that the write's EPIPE is reported instead.
ssize_t writeWithoutSigpipe(int descriptor, const void* bytes, std::size_t size) {
  sigset_t pipeSignal;
  sigemptyset(&pipeSignal);
  sigaddset(&pipeSignal, SIGPIPE);
  sigset_t before;
  pthread_sigmask(SIG_BLOCK, &pipeSignal, &before);
  const ssize_t written = ::write(descriptor, bytes, size);
  const int saved = errno;
  if (written < 0 && saved == EPIPE) {
    sigset_t pending;
    sigpending(&pending);
    const timespec now{};
    if (sigismember(&pending, SIGPIPE) && !sigismember(&before, SIGPIPE)) {
      sigtimedwait(&pipeSignal, nullptr, &now);
    }
  }
  pthread_sigmask(SIG_SETMASK, &before, nullptr);
  errno = saved;
  return written;
}

}  // namespace

OutputFile::OutputFile(std::string path, std::string what)
    : path_(std::move(path)), what_(std::move(what)) {
  if (path_.empty()) fail(std::strerror(ENOENT));
  struct stat target {};
  if (::stat(path_.c_str(), &target) == 0 && !S_ISREG(target.st_mode)) {
    if (S_ISDIR(target.st_mode)) fail(std::strerror(EISDIR));
    descriptor_ = S_ISFIFO(target.st_mode)
                      ? openFifo(path_)
                      : ::open(path_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (descriptor_ < 0 && errno == ENXIO && S_ISFIFO(target.st_mode)) {
      fail("a FIFO that nobody read for " + std::to_string(kLongestStallMs / 1000) + " s");
    }
    if (descriptor_ < 0) failWithErrno();
    return;
  }
  const std::string replaced = followedLink(path_);
  const std::string stem = folderOf(replaced) + "/." + nameOf(replaced) + ".part-" +
                           std::to_string(static_cast<long>(::getpid())) + "-";
  for (int attempt = 0; descriptor_ < 0; ++attempt) {
    const std::string candidate = stem + std::to_string(attempt);
    descriptor_ = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor_ >= 0) {
      temporary_ = candidate;
    } else if (errno == EACCES || errno == EROFS) {
      // The target itself may be writable; what failed is the file beside it.
      fail(std::string(std::strerror(errno)) + ", writing beside it in " +
           shownText(folderOf(replaced), kShownPathBytes));
    } else if (errno != EEXIST || attempt > 100) {
      failWithErrno();
    }
  }
  target_ = replaced;
}

OutputFile::~OutputFile() {
  if (descriptor_ >= 0) ::close(descriptor_);
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
}

void OutputFile::fail(const std::string& reason) {
  if (descriptor_ >= 0) ::close(descriptor_);
  descriptor_ = -1;
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  temporary_.clear();
  throw HostError(shownText(path_, kShownPathBytes) + ": cannot write " + what_ + " (" + reason +
                  ")");
}

void OutputFile::failWithErrno() { fail(std::strerror(errno)); }

void OutputFile::waitUntilWritable() {
  pollfd ready{descriptor_, POLLOUT, 0};
  const int got = ::poll(&ready, 1, kLongestStallMs);
  if (got == 0) {
    fail("nothing was taken for " + std::to_string(kLongestStallMs / 1000) + " s");
  }
  if (got < 0 && errno != EINTR) failWithErrno();
}

void OutputFile::write(const void* bytes, std::size_t size) {
  if (descriptor_ < 0) fail("already closed");
  const auto* from = static_cast<const char*>(bytes);
  while (size > 0) {
    const ssize_t written = writeWithoutSigpipe(descriptor_, from, size);
    if (written > 0) {
      from += written;
      size -= static_cast<std::size_t>(written);
    } else if (written < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      waitUntilWritable();
    } else if (written == 0 || errno != EINTR) {
      failWithErrno();
    }
  }
}

void OutputFile::commit() {
  if (descriptor_ < 0) fail("already closed");
  const int descriptor = descriptor_;
  descriptor_ = -1;
  // Some file systems report a write that did not reach the disk only here.
  if (::close(descriptor) != 0) failWithErrno();
  if (temporary_.empty()) return;
  if (::rename(temporary_.c_str(), target_.c_str()) != 0) failWithErrno();
  temporary_.clear();
}

void writeOutputFile(const std::string& path, const std::string& what, const void* bytes,
                     std::size_t size) {
  OutputFile file(path, what);
  file.write(bytes, size);
  file.commit();
}

}  // namespace panelhost
