#pragma once
// Writing a file so that a crash or a failed write never leaves half of it: the bytes go to a
// temporary file beside it, are flushed to the disk, and the temporary file is then renamed
// over the target in one step. Until that rename the old file stays as it was.

#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string_view>

namespace wallcalc::wallfile {

class WriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Throws WriteError (a Chinese message naming the file) when the file cannot be written; the
// target is then unchanged and no temporary file is left behind. `beforeRename`, for tests,
// runs between the flushed temporary file and the rename; whatever it throws is passed on after
// the temporary file is removed.
void writeAtomically(const std::filesystem::path& target, std::string_view bytes,
                     const std::function<void(const std::filesystem::path& temporary)>& beforeRename = {});

// The text of a whole file (bytes as they are). Throws WriteError's sibling ReadFailure.
class ReadFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
std::string readWholeFile(const std::filesystem::path& path);

// A path as UTF-8 text, for messages.
std::string displayName(const std::filesystem::path& path);

}  // namespace wallcalc::wallfile
