#include "support/bounded_file.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "support/shown_text.h"

namespace panelhost {

namespace {

// Closes the descriptor however the reading ends.
class Descriptor {
 public:
  explicit Descriptor(int descriptor) : descriptor_(descriptor) {}
  ~Descriptor() {
    if (descriptor_ >= 0) ::close(descriptor_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return descriptor_; }

 private:
  int descriptor_;
};

std::string kindOf(mode_t mode, bool pipes) {
  if (S_ISREG(mode) || (pipes && S_ISFIFO(mode))) return "";
  if (S_ISDIR(mode)) return std::strerror(EISDIR);
  if (S_ISFIFO(mode)) return "a FIFO, not a file";
  if (S_ISCHR(mode)) return "a character device, not a file";
  if (S_ISBLK(mode)) return "a block device, not a file";
  if (S_ISSOCK(mode)) return "a socket, not a file";
  return "not a file";
}

// A pipe is asked before each read whether it has something, so that a writer that never comes
// ends the reading after the pause; a FIFO nobody has opened for writing yet reads as ended.
bool waitForPipe(int descriptor) {
  pollfd ready{descriptor, POLLIN, 0};
  for (;;) {
    const int got = ::poll(&ready, 1, kLongestPauseMs);
    if (got >= 0 || errno != EINTR) return got > 0;
  }
}

}  // namespace

std::string whyNotReadable(const std::string& path, bool pipes) {
  if (path.find('\0') != std::string::npos) return "a name with a NUL byte";
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) return std::strerror(errno);
  return kindOf(status.st_mode, pipes);
}

BoundedFile readBoundedFile(const std::string& path, std::size_t limit) {
  BoundedFile file;
  // A device is refused before it is opened: opening one can have effects of its own.
  file.reason = whyNotReadable(path, true);
  if (!file.reason.empty()) return file;
  const Descriptor in(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  struct stat status {};
  if (in.get() < 0 || ::fstat(in.get(), &status) != 0) {
    file.reason = std::strerror(errno);
    return file;
  }
  file.reason = kindOf(status.st_mode, true);
  if (!file.reason.empty()) return file;
  const bool pipe = S_ISFIFO(status.st_mode);
  char chunk[64 * 1024];
  while (file.text.size() <= limit) {
    if (pipe && !waitForPipe(in.get())) {
      file.reason = "a FIFO or pipe that delivered nothing for " +
                    std::to_string(kLongestPauseMs / 1000) + " s";
      file.text.clear();
      return file;
    }
    const std::size_t wanted = std::min(sizeof chunk, limit + 1 - file.text.size());
    const ssize_t got = ::read(in.get(), chunk, wanted);
    if (got > 0) {
      file.text.append(chunk, static_cast<std::size_t>(got));
    } else if (got == 0) {
      break;
    } else if (errno != EINTR && errno != EAGAIN) {
      file.reason = std::strerror(errno);
      file.text.clear();
      return file;
    }
  }
  file.outcome = BoundedFile::Outcome::Read;
  if (file.text.size() > limit) {
    file.outcome = BoundedFile::Outcome::TooLarge;
    file.text.resize(limit);
  }
  return file;
}

std::string cannotReadMessage(const std::string& path, const BoundedFile& file,
                              const std::string& what) {
  return shownText(path, kShownPathBytes) + ": cannot read " + what + " (" +
         (file.reason.empty() ? std::string("unknown reason") : file.reason) + ")";
}

std::string byteCountText(std::size_t bytes) {
  const std::string exact = std::to_string(bytes) + " bytes";
  if (bytes % (1024 * 1024) == 0)
    return std::to_string(bytes / (1024 * 1024)) + " MiB (" + exact + ")";
  if (bytes % 1024 == 0) return std::to_string(bytes / 1024) + " KiB (" + exact + ")";
  return exact;
}

std::string tooLargeMessage(const std::string& path, const BoundedFile& file, std::size_t limit,
                            const std::string& what) {
  const auto line = 1 + std::count(file.text.begin(), file.text.end(), '\n');
  return shownText(path, kShownPathBytes) + ":" + std::to_string(line) + ": expected " + what +
         " of at most " + byteCountText(limit) + ", got more (reading stopped on this line)";
}

}  // namespace panelhost
