#include "posix/posix_file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace tessary {

namespace {

// An open descriptor, closed when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

bool IsRegularFile(int fd) {
  struct stat info {};
  return ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

std::string PosixFileSystem::NativePath(const std::string& path) const {
  std::string native = Cp949ToUtf8(codec_, path);
  if (native.empty() && !path.empty()) native = path;  // not CP949: take the bytes as they are
  for (char& c : native) {
    if (c == '\\') c = '/';
  }
  return native;
}

bool PosixFileSystem::CanOpenForReading(const std::string& path) {
  Descriptor fd(::open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC));
  return fd.get() >= 0 && IsRegularFile(fd.get());
}

std::optional<std::string> PosixFileSystem::ReadWholeFile(const std::string& path) {
  Descriptor fd(::open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0 || !IsRegularFile(fd.get())) return std::nullopt;
  std::string content;
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      return std::nullopt;
    }
    if (n == 0) break;
    content.append(buffer, static_cast<size_t>(n));
  }
  return content;
}

bool PosixFileSystem::WriteNewFile(const std::string& path, std::string_view bytes) {
  Descriptor fd(::open(NativePath(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
  if (fd.get() < 0) return false;
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd.get(), bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return ::fsync(fd.get()) == 0 && fd.Close();
}

bool PosixFileSystem::ReplaceFile(const std::string& from, const std::string& to) {
  return std::rename(NativePath(from).c_str(), NativePath(to).c_str()) == 0;
}

void PosixFileSystem::RemoveFile(const std::string& path) { ::unlink(NativePath(path).c_str()); }

}  // namespace tessary
