#include "components/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "components/error_text.h"

namespace timer555 {

namespace {

std::string Failure(const std::string& path, int error) {
  return "cannot write '" + path + "': " + ErrorText(error);
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

// The file a path names after its symbolic links, followed one by one so
// that a link to nowhere is written through to the file it names (and makes
// it); errno ELOOP where the links go round.
std::optional<std::string> Resolved(const std::string& path) {
  std::string at = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat link {};
    if (lstat(at.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return at;
    char target[PATH_MAX];
    const ssize_t n = readlink(at.c_str(), target, sizeof target - 1);
    if (n < 0) return at;
    const std::string next(target, static_cast<size_t>(n));
    const size_t slash = at.rfind('/');
    at = next.front() == '/' || slash == std::string::npos ? next : at.substr(0, slash + 1) + next;
  }
  errno = ELOOP;
  return std::nullopt;
}

// The temporary file's name beside the target: ".NAME.XXXXXX", the name cut
// so that the whole still fits the folder's limit (255 bytes).
std::string TemporaryBeside(const std::string& target) {
  constexpr size_t kNameMax = 255, kAdded = 8;  // "." and ".XXXXXX"
  const size_t slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
  std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
  if (name.size() > kNameMax - kAdded) name.resize(kNameMax - kAdded);
  return folder + "." + name + ".XXXXXX";
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
  const std::optional<std::string> resolved = Resolved(path);
  if (!resolved) return Failure(path, errno);
  const std::string& target = *resolved;
  struct stat old {};
  const bool exists = stat(target.c_str(), &old) == 0;
  if (exists && S_ISDIR(old.st_mode)) return Failure(path, EISDIR);
  if (exists && !S_ISREG(old.st_mode)) return WriteInPlace(path, target, bytes);
  // A file marked read-only stays as it is, even for the superuser; one that
  // cannot be written says why (EACCES, EROFS).
  if (exists && (old.st_mode & 0222) == 0) return Failure(path, EACCES);
  if (exists && access(target.c_str(), W_OK) != 0) return Failure(path, errno);

  std::string temporary = TemporaryBeside(target);
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
  // The owner stays where the process may keep it (the superuser, or a
  // group the user is in); where it may not, the file becomes the user's.
  if (exists && fchown(fd, old.st_uid, old.st_gid) != 0) {
    // Not the superuser: the group at least, where the user is in it.
    [[maybe_unused]] const int grouped = fchown(fd, static_cast<uid_t>(-1), old.st_gid);
  }
  if (close(fd) != 0) return fail(errno);
  // A file with other hard links keeps them: renaming would leave the others
  // with the old content. The new bytes are on the disk already (the space is
  // there), so they are written over the file in place.
  if (exists && old.st_nlink > 1) {
    unlink(temporary.c_str());
    return WriteInPlace(path, target, bytes);
  }
  if (rename(temporary.c_str(), target.c_str()) != 0) return fail(errno);
  return std::nullopt;
}

}  // namespace timer555
