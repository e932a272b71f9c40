#include "components/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace timer555 {

namespace {

std::string Failure(const std::string& path, int error) {
  return "cannot write '" + path + "': " + std::strerror(error);
}

// Writes everything or says why not (errno).
bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

// The file a path names after its symbolic links; the path itself when it
// does not exist yet (or is a link to nowhere, which is then replaced).
std::string Resolved(const std::string& path) {
  struct stat link {};
  if (lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return path;
  char real[PATH_MAX];
  return realpath(path.c_str(), real) != nullptr ? std::string(real) : path;
}

mode_t NewFileMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return static_cast<mode_t>(0666 & ~mask);
}

std::optional<std::string> WriteInPlace(const std::string& path, const std::string& target,
                                        std::string_view bytes) {
  const int fd = open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  if (fd < 0) return Failure(path, errno);
  const bool written = WriteAll(fd, bytes);
  const int error = errno;
  if (close(fd) != 0 && written) return Failure(path, errno);
  if (!written) return Failure(path, error);
  return std::nullopt;
}

}  // namespace

std::optional<std::string> WriteFileAtomically(const std::string& path, std::string_view bytes) {
  if (path.empty()) return Failure(path, ENOENT);
  const std::string target = Resolved(path);
  struct stat old {};
  const bool exists = stat(target.c_str(), &old) == 0;
  if (exists && S_ISDIR(old.st_mode)) return Failure(path, EISDIR);
  if (exists && !S_ISREG(old.st_mode)) return WriteInPlace(path, target, bytes);
  // A file marked read-only stays as it is, even for the superuser.
  if (exists && ((old.st_mode & 0222) == 0 || access(target.c_str(), W_OK) != 0))
    return Failure(path, EACCES);

  const size_t slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
  std::string temporary = (slash == std::string::npos ? "" : folder) + "." + name + ".XXXXXX";
  const int fd = mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) return Failure(path, errno);
  const auto fail = [&](int error) {
    unlink(temporary.c_str());
    return Failure(path, error);
  };
  const mode_t mode = exists ? (old.st_mode & 07777) : NewFileMode();
  if (!WriteAll(fd, bytes) || fchmod(fd, mode) != 0 || fsync(fd) != 0) {
    const int error = errno;
    close(fd);
    return fail(error);
  }
  if (close(fd) != 0) return fail(errno);
  if (rename(temporary.c_str(), target.c_str()) != 0) return fail(errno);
  return std::nullopt;
}

}  // namespace timer555
