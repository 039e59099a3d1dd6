#include "report/report_file.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>

#include "report/file_save.h"

namespace ritmova {
namespace {

namespace fs = std::filesystem;

[[noreturn]] void failWith(const std::string& what, int error) {
    throw SaveFailure(what, std::strerror(error));
}

// What a save writes to: a regular file (or a name to create) is replaced by a rename; a
// device, FIFO or socket is written in place, as the shell's `>` writes it.
struct SaveTarget {
    fs::path path;
    bool inPlace = false;
};

// The system's own rule for links in shared folders: in a sticky folder that anyone may write
// (/tmp), a link is followed only when the caller or the folder's owner owns it, so that no
// user can lead another's save to a file of their choosing.
void requireFollowable(const fs::path& link, const struct stat& linkStatus,
                       const std::string& path) {
    const fs::path folder = link.parent_path();
    struct stat folderStatus {};
    if (stat(folder.empty() ? "." : folder.c_str(), &folderStatus) != 0) {
        failWith("cannot write " + path, errno);
    }
    const bool shared = (folderStatus.st_mode & S_ISVTX) && (folderStatus.st_mode & S_IWOTH);
    if (shared && linkStatus.st_uid != geteuid() && linkStatus.st_uid != folderStatus.st_uid) {
        throw SaveFailure("cannot write " + path,
                          "a link that another user owns in a shared sticky folder is not "
                          "followed");
    }
}

bool writtenInPlace(mode_t mode) {
    return !S_ISREG(mode) && !S_ISDIR(mode);
}

// The file that `path` finally names: symbolic links, relative ones and chains of them, are
// followed so that saving replaces the file a link points to and the link stays a link. A
// link to a missing file names that file, to be created. A link to a device or FIFO is left
// for the system to follow, as links such as /dev/stdout lead through names of no file.
SaveTarget finalTarget(const std::string& path) {
    fs::path current = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat status {};
        if (lstat(current.c_str(), &status) != 0) {
            if (errno == ENOENT) return {current};
            failWith("cannot write " + path, errno);
        }
        if (!S_ISLNK(status.st_mode)) return {current, writtenInPlace(status.st_mode)};
        requireFollowable(current, status, path);
        struct stat followed {};
        if (stat(current.c_str(), &followed) == 0 && writtenInPlace(followed.st_mode)) {
            return {current, true};
        }
        std::array<char, 4096> link{};
        const ssize_t length = readlink(current.c_str(), link.data(), link.size());
        if (length < 0 || static_cast<std::size_t>(length) == link.size()) {
            failWith("cannot write " + path, length < 0 ? errno : ENAMETOOLONG);
        }
        current = current.parent_path() / fs::path(std::string(link.data(), length));
    }
    failWith("cannot write " + path, ELOOP);
}

// A descriptor closed when it goes out of scope.
class Descriptor {
  public:
    explicit Descriptor(int descriptor) : descriptor_(descriptor) {}
    ~Descriptor() {
        if (descriptor_ >= 0) close(descriptor_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return descriptor_; }
    // Closes now, returning close's result so that a late write error is seen.
    int release() { return close(std::exchange(descriptor_, -1)); }

  private:
    int descriptor_;
};

// The folder holding the target, for creating, renaming and syncing relative to it. A folder
// that may be written but not listed can still be used, without the final sync.
Descriptor openFolder(const fs::path& folder, const std::string& path) {
    const char* name = folder.empty() ? "." : folder.c_str();
    int descriptor = open(name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0 && errno == EACCES)
        descriptor = open(name, O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) failWith("cannot write " + path, errno);
    return Descriptor(descriptor);
}

// A new, short, hidden name in the folder, created exclusively and never through a link,
// with the permission bits 0666 less the umask.
std::string createTemporary(int folder, std::optional<Descriptor>& file, const std::string& path) {
    static constexpr char Letters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::array<unsigned char, 6> random{};
        if (getrandom(random.data(), random.size(), 0) != static_cast<ssize_t>(random.size())) {
            failWith("cannot write " + path, errno);
        }
        std::string name = ".ritmova-";
        for (unsigned char byte : random) name += Letters[byte % (sizeof Letters - 1)];
        const int descriptor = openat(folder, name.c_str(),
                                      O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (descriptor >= 0) {
            file.emplace(descriptor);
            return name;
        }
        if (errno != EEXIST) failWith("cannot write " + path, errno);
    }
    failWith("cannot write " + path, EEXIST);
}

// An existing file keeps its owner and permission bits. Giving it back to another owner needs
// privileges the user may not have: without them the user owns the new file.
int keepOwnerAndMode(int file, const fs::path& target) {
    struct stat status {};
    if (stat(target.c_str(), &status) != 0) return errno == ENOENT ? 0 : errno;
    if (fchown(file, status.st_uid, status.st_gid) != 0 && errno != EPERM) return errno;
    return fchmod(file, status.st_mode & 07777) == 0 ? 0 : errno;
}

// Writes everything, through short writes and interruptions.
int writeAll(const Descriptor& file, std::string_view content) {
    for (std::size_t done = 0; done < content.size();) {
        const ssize_t written = write(file.get(), content.data() + done, content.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) return errno;
        done += static_cast<std::size_t>(written);
    }
    return 0;
}

// Writes everything and syncs it to the disk.
int writeAndSync(Descriptor& file, std::string_view content) {
    if (const int error = writeAll(file, content)) return error;
    if (fsync(file.get()) != 0) return errno;
    return file.release() == 0 ? 0 : errno;
}

// The identity of the file the recording was read from, if it can be told.
std::optional<std::pair<dev_t, ino_t>> fileIdentity(const std::string& recording) {
    struct stat status {};
    if (recording.empty()) return std::nullopt;
    const bool found = recording == "-" ? fstat(STDIN_FILENO, &status) == 0
                                        : stat(recording.c_str(), &status) == 0;
    if (!found) return std::nullopt;
    return std::pair(status.st_dev, status.st_ino);
}

// An existing file is replaced only when the caller may write it, as the shell's `>` would,
// and never when it is the recording itself, under any name.
void requireReplaceable(const fs::path& target, const std::string& path,
                        const std::string& recording) {
    struct stat status {};
    // A new file: its folder decides. A folder: the rename says it is one.
    if (stat(target.c_str(), &status) != 0 || S_ISDIR(status.st_mode)) return;
    if (faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
        failWith("cannot write " + path, errno);
    }
    if (fileIdentity(recording) == std::pair(status.st_dev, status.st_ino)) {
        throw SaveFailure("cannot replace " + path, "it is the recording analysed");
    }
}

// A device, FIFO or socket, written as it is. A FIFO that nothing reads is refused rather
// than waited for.
void writeInPlace(const fs::path& target, std::string_view content, const std::string& path) {
    const int descriptor = open(target.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0 && errno == ENXIO) {
        throw SaveFailure("cannot write " + path, "nothing reads from it");
    }
    if (descriptor < 0) failWith("cannot write " + path, errno);
    Descriptor file(descriptor);
    int error =
        fcntl(descriptor, F_SETFL, fcntl(descriptor, F_GETFL) & ~O_NONBLOCK) == 0 ? 0 : errno;
    if (error == 0) error = writeAll(file, content);
    if (error == 0 && file.release() != 0) error = errno;
    if (error != 0) failWith("cannot write " + path, error);
}

}  // namespace

void SaveFile(const std::string& path, std::string_view content, const std::string& recording) {
    if (path.empty()) throw CommandFailure("no file name given");
    const SaveTarget saved = finalTarget(path);
    const fs::path& target = saved.path;
    if (saved.inPlace) return writeInPlace(target, content, path);
    requireReplaceable(target, path, recording);
    const std::string targetName = target.filename().string();
    if (targetName.empty()) failWith("cannot replace " + path, EISDIR);
    Descriptor folder = openFolder(target.parent_path(), path);
    std::optional<Descriptor> file;
    const std::string temporary = createTemporary(folder.get(), file, path);
    int error = keepOwnerAndMode(file->get(), target);
    if (error == 0) error = writeAndSync(*file, content);
    std::string failure = "cannot write ";
    if (error == 0 && renameat(folder.get(), temporary.c_str(), folder.get(), targetName.c_str())) {
        error = errno;
        failure = "cannot replace ";
    }
    if (error != 0) {
        file.reset();
        unlinkat(folder.get(), temporary.c_str(), 0);
        failWith(failure + path, error);
    }
    // The rename is done: a folder that cannot be synced does not undo the save.
    fsync(folder.get());
}

void WriteReportFile(const std::string& path, const std::string& reportText,
                     const std::string& recording) {
    SaveFile(path, reportText + "\r\n", recording);
}

}  // namespace ritmova
