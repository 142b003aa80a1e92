#pragma once
// Writing a file so that a crash or a failed write never leaves half of it: the bytes go to a
// temporary file beside it, are flushed to the disk, and the temporary file is then renamed
// over the target in one step. Until that rename the old file stays as it was.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <limits>
#include <stdexcept>
#include <string>
#include <string_view>

namespace wallcalc::wallfile {

class WriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Throws WriteError (a Chinese message naming the file) when the file cannot be written; the
// target is then unchanged and no temporary file is left behind.
//
// A symbolic link is written through: its target gets the new text and the link stays. An
// existing file keeps its permissions, and one that is read-only (no write permission for
// anybody, or none for this user) is refused. The temporary file, `.NAME.tmpNNNNNN` beside the
// target, keeps within the 255 bytes a file name may have (a long NAME is shortened and marked
// with a digest of the whole); those a crash left behind for the same target, older than a
// minute, are removed. `beforeRename`, for tests, runs between the flushed temporary file and
// the rename; whatever it throws is passed on after the temporary file is removed.
void writeAtomically(const std::filesystem::path& target, std::string_view bytes,
                     const std::function<void(const std::filesystem::path& temporary)>& beforeRename = {});

// The text of a whole regular file (bytes as they are) of at most `maxBytes`. Anything else (a
// directory, a device, a pipe, a larger file) is refused unread. Throws ReadFailure.
class ReadFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
std::string readWholeFile(const std::filesystem::path& path,
                          std::size_t maxBytes = std::numeric_limits<std::size_t>::max());

// A path as UTF-8 text for messages, its control characters and direction marks written out.
std::string displayName(const std::filesystem::path& path);

}  // namespace wallcalc::wallfile
