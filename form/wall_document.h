#pragma once
// The wall a window shows: every field text, the wall file it came from, what was last saved,
// and the review options with the texts the review refused. Both windows are views of one
// document: they write what the engineer types into it and follow it through its observers.

#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/fields.h"
#include "review/options.h"
#include "wallfile/wallfile.h"

namespace wallcalc::form {

// A save refused before anything is written, because an option holds a text the review refuses
// (a wall file holds only options the review accepts, or it could not be read again).
class UnsavableWall : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class WallDocument {
public:
    // What changed; an observer hears every change after it is made.
    enum class Change {
        Fields,   // one or more field texts
        Options,  // the review options or their refused texts
        File,     // the path or the saved state (opened, saved, new)
    };
    using Observer = std::function<void(Change)>;

    WallDocument();

    // ---- field texts (UTF-8; Text29 with CR LF line ends)
    const FieldSet& fields() const { return fields_; }
    const std::string& text(Field field) const { return fields_.text(field); }
    void setText(Field field, std::string_view text);
    // `fields` replace the document's, with which results are current (a press's outcome); one
    // notice for them all.
    void setFields(const FieldSet& fields);

    // ---- the wall file
    // The file shown (UTF-8), empty for a new wall.
    const std::string& path() const { return path_; }
    // Whether the input fields or the review options differ from the file (or from a new wall),
    // or an option holds a refused text.
    bool isModified() const;
    // The file's name for titles and questions: 未命名 for a new wall.
    std::string displayName() const;
    // The window's title: the program alone for an unchanged new wall, else the wall's name with
    // * while modified, then the program.
    std::string title() const;

    // ---- review options
    const wallfile::OptionTexts& options() const { return options_; }
    // Sets them all and forgets any refused text.
    void setOptions(wallfile::OptionTexts options);
    // One option as the engineer typed it. A text the review accepts is set, or unset when it is
    // the default's own text, so that the file keeps only what differs. A text it refuses is held
    // apart: the wall counts as modified and cannot be saved until it is mended.
    void setOption(std::string_view key, std::string_view text);
    // The refused text, else the set one, else the default's.
    std::string optionText(std::string_view key) const;
    // The options as the review reads them, refused texts included, so that the engine says what
    // is wrong with one (throws FaultError then).
    review::Options reviewOptions() const;
    // Why the wall cannot be saved: the first refused option in the order of the option table,
    // as the review explains it; none when it can.
    std::optional<std::string> whyUnsavable() const;

    // ---- 新建, 打开, 保存. Every field not of the wall file goes back to its default, since
    // results of another wall mean nothing for this one.
    void newWall();
    // Throws wallfile::WallFileError (nothing changes then).
    void open(const std::string& path);
    // Throws UnsavableWall or wallfile::WallFileError (nothing changes then).
    void save(const std::string& path);

    // ---- observers
    int observe(Observer observer);
    void forget(int id);

private:
    wallfile::Wall currentWall() const;
    void show(const wallfile::Wall& wall, const std::string& path);
    void notify(Change change);

    FieldSet fields_;
    std::string path_;
    wallfile::Wall saved_;
    wallfile::OptionTexts options_;
    struct Refused {
        std::string text, why;  // the engineer's text and the review's reason
        bool operator==(const Refused&) const = default;
    };
    std::map<std::string, Refused, std::less<>> refused_;
    std::vector<std::pair<int, Observer>> observers_;
    int nextObserver_ = 0;
};

// The texts of the 文件 menu's questions and suggestions, from the document.
// "“NAME”已修改。是否保存修改？" (未命名的墙体 for a new wall).
std::string askToSaveText(const WallDocument& document);
// The name 另存为… suggests: the file's path, or 墙体.wall for a new wall.
std::string wallSuggestion(const WallDocument& document);
// The name 另存计算书… suggests: the wall's name as .pdf beside it, or 计算书.pdf.
std::string reportSuggestion(const WallDocument& document);

}  // namespace wallcalc::form
