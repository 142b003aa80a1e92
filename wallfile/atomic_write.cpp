#include "wallfile/atomic_write.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <random>
#include <system_error>

#include "core/shown_text.h"
#include "core/utf8.h"

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace wallcalc::wallfile {
namespace {

namespace fs = std::filesystem;

// The longest file name, in bytes, the file systems in use take (255 UTF-16 units on Windows
// hold at least 255 bytes of UTF-8).
constexpr std::size_t kNameMax = 255;
// A temporary file this old is no save in progress but one a crash left behind.
constexpr auto kStaleAfter = std::chrono::minutes(1);

std::string reason(int error) { return std::generic_category().message(error); }

[[noreturn]] void cannotWrite(const fs::path& target, const std::string& why) {
    throw WriteError("无法写入文件 " + displayName(target) + "：" + why);
}

std::string utf8Name(const fs::path& path) {
    const std::u8string text = path.filename().u8string();
    return std::string(text.begin(), text.end());
}

// The file a path stands for: a symbolic link is followed to its target (a link to a link too),
// so that the link stays and its target gets the new text.
fs::path followLinks(const fs::path& target) {
    fs::path file = target;
    std::error_code error;
    for (int hops = 0; fs::is_symlink(fs::symlink_status(file, error)); ++hops) {
        if (hops == 40) cannotWrite(target, "符号链接层数过多");
        const fs::path next = fs::read_symlink(file, error);
        if (error) cannotWrite(target, error.message());
        file = next.is_absolute() ? next : file.parent_path() / next;
    }
    return file;
}

bool readOnly(const fs::path& file, fs::perms permissions) {
    constexpr fs::perms write = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    if ((permissions & write) == fs::perms::none) return true;
#if defined(_WIN32)
    (void)file;  // the read-only attribute is the only write permission a file has
    return false;
#else
    return ::access(file.c_str(), W_OK) != 0 && (errno == EACCES || errno == EROFS);
#endif
}

// ".NAME.tmp", what the names of NAME's temporary files start with (six digits at most follow).
// A NAME too long for that is cut and marked with a digest of the whole, so that two long names
// that start alike keep apart.
std::string temporaryPrefix(const std::string& name) {
    constexpr std::size_t room = kNameMax - std::string_view(". .tmp999999").size() + 1;
    if (name.size() <= room) return "." + name + ".tmp";
    std::uint32_t digest = 2166136261u;  // FNV-1a
    for (const unsigned char c : name) digest = (digest ^ c) * 16777619u;
    char mark[16];
    std::snprintf(mark, sizeof mark, "~%08x", static_cast<unsigned>(digest));
    return "." + name.substr(0, utf8Boundary(name, room - std::string_view(mark).size())) + mark + ".tmp";
}

// Temporary files of the same target that a crash left behind.
void removeStale(const fs::path& directory, const std::string& prefix) {
    std::error_code error;
    const auto now = fs::file_time_type::clock::now();
    for (fs::directory_iterator entry(directory, error), end; !error && entry != end; entry.increment(error)) {
        const std::string name = utf8Name(entry->path());
        if (!name.starts_with(prefix)) continue;
        const std::string_view digits = std::string_view(name).substr(prefix.size());
        if (digits.empty() || digits.size() > 6 || digits.find_first_not_of("0123456789") != std::string_view::npos)
            continue;
        std::error_code ignored;
        if (!fs::is_regular_file(fs::symlink_status(entry->path(), ignored))) continue;
        const auto written = fs::last_write_time(entry->path(), ignored);
        if (!ignored && now - written > kStaleAfter) fs::remove(entry->path(), ignored);
    }
}

// A temporary file being written, removed again unless it was renamed into place.
class Temporary {
public:
    // A new file of its own beside the target, with the permissions the target has.
    Temporary(const fs::path& directory, const std::string& prefix, std::optional<fs::perms> permissions) {
        std::random_device entropy;
        for (int attempt = 0; attempt < 20 && !file_; ++attempt) {
            const std::string name = prefix + std::to_string(entropy() % 1000000);
            path_ = directory / fs::u8path(name);
            file_ = create(permissions);
            if (!file_ && errno != EEXIST) break;
        }
    }
    ~Temporary() {
        if (file_) std::fclose(file_);
        std::error_code ignored;
        if (!renamed_) fs::remove(path_, ignored);
    }
    Temporary(const Temporary&) = delete;
    Temporary& operator=(const Temporary&) = delete;

    const fs::path& path() const { return path_; }
    bool opened() const { return file_ != nullptr; }

    // Writes the bytes and flushes them to the disk; false with errno set on failure.
    bool write(std::string_view bytes) {
        bool done = std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size() && std::fflush(file_) == 0;
#if defined(_WIN32)
        done = done && ::_commit(::_fileno(file_)) == 0;
#else
        done = done && ::fsync(::fileno(file_)) == 0;
#endif
        const int error = errno;
        const bool closed = std::fclose(file_) == 0;
        file_ = nullptr;
        if (done) return closed;
        errno = error;
        return false;
    }

    void renameTo(const fs::path& target) {
        fs::rename(path_, target);
        renamed_ = true;
    }

private:
    std::FILE* create(std::optional<fs::perms> permissions) {
#if defined(_WIN32)
        (void)permissions;
        const int fd = ::_wopen(path_.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
        return fd < 0 ? nullptr : ::_fdopen(fd, "wb");
#else
        const mode_t mode = permissions ? static_cast<mode_t>(*permissions & fs::perms::mask) : 0666;
        const int fd = ::open(path_.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, mode);
        if (fd < 0) return nullptr;
        // Exactly the target's permissions, whatever the process's umask takes away.
        if (permissions) ::fchmod(fd, mode);
        std::FILE* file = ::fdopen(fd, "wb");
        if (!file) ::close(fd);
        return file;
#endif
    }

    fs::path path_;
    std::FILE* file_ = nullptr;
    bool renamed_ = false;
};

}  // namespace

std::string displayName(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return shownText(std::string(text.begin(), text.end()));
}

void writeAtomically(const std::filesystem::path& target, std::string_view bytes,
                     const std::function<void(const std::filesystem::path&)>& beforeRename) {
    const fs::path file = followLinks(target);
    const fs::path directory = file.has_parent_path() ? file.parent_path() : fs::path(".");
    std::error_code error;
    const fs::file_status status = fs::status(file, error);
    std::optional<fs::perms> permissions;
    if (fs::is_regular_file(status)) {
        if (readOnly(file, status.permissions())) cannotWrite(target, "文件是只读的");
        permissions = status.permissions();
    }

    const std::string prefix = temporaryPrefix(utf8Name(file));
    removeStale(directory, prefix);
    // A name of its own beside the target, so that the rename stays on one file system.
    Temporary temporary(directory, prefix, permissions);
    if (!temporary.opened()) cannotWrite(target, reason(errno));
    if (!temporary.write(bytes)) cannotWrite(target, reason(errno));
    if (beforeRename) beforeRename(temporary.path());
    try {
        temporary.renameTo(file);
    } catch (const fs::filesystem_error& failure) {
        cannotWrite(target, failure.code().message());
    }
}

std::string readWholeFile(const std::filesystem::path& path, std::size_t maxBytes) {
    auto refuse = [&](const std::string& why) { return ReadFailure("无法读取文件 " + displayName(path) + "：" + why); };
#if defined(_WIN32)
    std::FILE* file = ::_wfopen(path.c_str(), L"rb");
#else
    // Without waiting on a pipe nobody writes to: what is not a regular file is refused unread.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    std::FILE* file = fd < 0 ? nullptr : ::fdopen(fd, "rb");
    if (fd >= 0 && !file) ::close(fd);
#endif
    if (!file) throw ReadFailure("无法打开文件 " + displayName(path) + "：" + reason(errno));
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> closer(file, &std::fclose);

#if defined(_WIN32)
    struct _stat64 info;
    const bool regular = ::_fstat64(::_fileno(file), &info) == 0 && (info.st_mode & _S_IFMT) == _S_IFREG;
#else
    struct stat info;
    const bool regular = ::fstat(::fileno(file), &info) == 0 && S_ISREG(info.st_mode);
#endif
    if (!regular) throw refuse("不是普通文件");
    const auto tooLarge = [&] {
        return refuse("文件大于 " + (maxBytes % (1 << 20) == 0 ? std::to_string(maxBytes >> 20) + " MB"
                                                               : std::to_string(maxBytes) + " 字节"));
    };
    if (static_cast<std::uint64_t>(info.st_size) > maxBytes) throw tooLarge();

    std::string data;
    char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0 && data.size() <= maxBytes) data.append(buffer, n);
    if (std::ferror(file) != 0) throw refuse(reason(errno));
    if (data.size() > maxBytes) throw tooLarge();
    return data;
}

}  // namespace wallcalc::wallfile
