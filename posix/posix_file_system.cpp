#include "posix/posix_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <algorithm>
#include <cstdio>
#include <cstring>

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

std::string PosixFileSystem::CurrentDirectory() {
  std::string buffer(256, '\0');
  while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE) return ".";
    buffer.resize(buffer.size() * 2);
  }
  buffer.resize(std::strlen(buffer.c_str()));
  const std::string cp949 = Utf8ToCp949(codec_, buffer);
  return cp949.empty() ? buffer : cp949;
}

std::optional<std::vector<DirectoryEntry>> PosixFileSystem::ListDirectory(const std::string& path) {
  const std::string native = NativePath(path);
  DIR* dir = ::opendir(native.c_str());
  if (dir == nullptr) return std::nullopt;
  std::vector<DirectoryEntry> entries;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    struct stat info {};
    const bool isDirectory = ::stat((native + "/" + name).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    const std::string cp949 = Utf8ToCp949(codec_, name);
    entries.push_back({cp949.empty() ? name : cp949, isDirectory});
  }
  ::closedir(dir);
  std::sort(entries.begin(), entries.end(),
            [](const DirectoryEntry& a, const DirectoryEntry& b) { return a.name < b.name; });
  return entries;
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
