#include "wallfile/atomic_write.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <system_error>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include <unistd.h>
#endif

namespace wallcalc::wallfile {
namespace {

std::FILE* openFile(const std::filesystem::path& path, bool write) {
#if defined(_WIN32)
    if (!write) return ::_wfopen(path.c_str(), L"rb");
    const int fd = ::_wopen(path.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
    return fd < 0 ? nullptr : ::_fdopen(fd, "wb");
#else
    return std::fopen(path.c_str(), write ? "wbx" : "rb");
#endif
}

bool flushToDisk(std::FILE* file) {
    if (std::fflush(file) != 0) return false;
#if defined(_WIN32)
    return ::_commit(::_fileno(file)) == 0;
#else
    return ::fsync(::fileno(file)) == 0;
#endif
}

std::string reason(int error) { return std::generic_category().message(error); }

}  // namespace

std::string displayName(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

void writeAtomically(const std::filesystem::path& target, std::string_view bytes,
                     const std::function<void(const std::filesystem::path&)>& beforeRename) {
    namespace fs = std::filesystem;
    const fs::path directory = target.has_parent_path() ? target.parent_path() : fs::path(".");
    // A name of its own beside the target, so that the rename stays on one file system.
    std::random_device entropy;
    std::FILE* file = nullptr;
    fs::path temporary;
    for (int attempt = 0; attempt < 20 && !file; ++attempt) {
        temporary = directory / ("." + target.filename().string() + ".tmp" + std::to_string(entropy() % 1000000));
        file = openFile(temporary, true);
        if (!file && errno != EEXIST) break;
    }
    if (!file) throw WriteError("无法写入文件 " + displayName(target) + "：" + reason(errno));

    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && flushToDisk(file);
    const int writeError = errno;
    const bool closed = std::fclose(file) == 0;
    std::error_code ignored;
    if (!written || !closed) {
        fs::remove(temporary, ignored);
        throw WriteError("无法写入文件 " + displayName(target) + "：" + reason(written ? errno : writeError));
    }
    try {
        if (beforeRename) beforeRename(temporary);
        std::error_code error;
        fs::rename(temporary, target, error);
        if (error) throw WriteError("无法写入文件 " + displayName(target) + "：" + error.message());
    } catch (...) {
        fs::remove(temporary, ignored);
        throw;
    }
}

std::string readWholeFile(const std::filesystem::path& path) {
    std::FILE* file = openFile(path, false);
    if (!file) throw ReadFailure("无法打开文件 " + displayName(path) + "：" + reason(errno));
    std::string data;
    char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) data.append(buffer, n);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) throw ReadFailure("无法读取文件 " + displayName(path));
    return data;
}

}  // namespace wallcalc::wallfile
