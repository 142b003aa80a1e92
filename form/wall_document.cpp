#include "form/wall_document.h"

#include <algorithm>
#include <filesystem>

#include "core/fault.h"
#include "form/texts.h"
#include "wallfile/atomic_write.h"

namespace wallcalc::form {
namespace {

std::filesystem::path toPath(const std::string& path) { return std::filesystem::u8path(path); }

std::string fileName(const std::string& path) { return wallfile::displayName(toPath(path).filename()); }

}  // namespace

WallDocument::WallDocument() { saved_ = currentWall(); }

void WallDocument::setText(Field field, std::string_view text) {
    if (fields_.text(field) == text) return;
    fields_.setText(field, std::string(text));
    notify(Change::Fields);
}

void WallDocument::setFields(const FieldSet& fields) {
    // Texts and which results are current alike: a press that wrote a result with the text it
    // already had has made it current all the same.
    if (fields_ == fields) return;
    fields_ = fields;
    notify(Change::Fields);
}

wallfile::Wall WallDocument::currentWall() const {
    wallfile::Wall wall;
    for (Field field : wallfile::inputFields()) wall.fields.setText(field, fields_.text(field));
    wall.options = options_;
    return wall;
}

bool WallDocument::isModified() const { return !refused_.empty() || currentWall() != saved_; }

std::string WallDocument::displayName() const { return path_.empty() ? "未命名" : fileName(path_); }

std::string WallDocument::title() const {
    const std::string program = std::string(kProgramTitle) + "  " + kCredit;
    const bool modified = isModified();
    if (path_.empty() && !modified) return program;
    return displayName() + (modified ? "*" : "") + " - " + program;
}

void WallDocument::setOptions(wallfile::OptionTexts options) {
    options_ = std::move(options);
    refused_.clear();
    notify(Change::Options);
}

void WallDocument::setOption(std::string_view key, std::string_view text) {
    if (!wallfile::isOptionKey(key)) return;
    const wallfile::OptionTexts options = options_;
    const auto refused = refused_;
    try {
        // The default's own text needs no check; any other is checked as it is set.
        if (text == review::defaultOptionText(key))
            options_.unset(key);
        else
            options_.set(key, text);
        if (auto at = refused_.find(key); at != refused_.end()) refused_.erase(at);
    } catch (const FaultError& error) {
        refused_.insert_or_assign(std::string(key), Refused{std::string(text), error.fault().what});
    }
    // The window that typed it hears back only when something changed.
    if (options_ == options && refused_ == refused) return;
    notify(Change::Options);
}

std::string WallDocument::optionText(std::string_view key) const {
    if (auto at = refused_.find(key); at != refused_.end()) return at->second.text;
    if (const std::string* text = options_.find(key)) return *text;
    return review::defaultOptionText(key);
}

review::Options WallDocument::reviewOptions() const {
    review::Options options;
    for (std::string_view key : review::optionKeys()) review::setOption(options, key, optionText(key));
    return options;
}

std::optional<std::string> WallDocument::whyUnsavable() const {
    for (std::string_view key : review::optionKeys())
        if (auto at = refused_.find(key); at != refused_.end())
            return "墙体没有保存：" + at->second.why + "。请在复核窗口中改正后再保存。";
    return std::nullopt;
}

void WallDocument::show(const wallfile::Wall& wall, const std::string& path) {
    FieldSet fields;
    for (Field field : wallfile::inputFields()) fields.setText(field, wall.fields.text(field));
    options_ = wall.options;
    refused_.clear();
    path_ = path;
    const bool fieldsChanged = fields != fields_;
    fields_ = fields;
    saved_ = currentWall();
    if (fieldsChanged) notify(Change::Fields);
    notify(Change::Options);
    notify(Change::File);
}

void WallDocument::newWall() { show(wallfile::Wall{}, {}); }

void WallDocument::open(const std::string& path) { show(wallfile::load(toPath(path)), path); }

void WallDocument::save(const std::string& path) {
    if (std::optional<std::string> why = whyUnsavable()) throw UnsavableWall(*why);
    const wallfile::Wall wall = currentWall();
    wallfile::save(toPath(path), wall);
    path_ = path;
    saved_ = wall;
    notify(Change::File);
}

int WallDocument::observe(Observer observer) {
    observers_.emplace_back(nextObserver_, std::move(observer));
    return nextObserver_++;
}

void WallDocument::forget(int id) {
    std::erase_if(observers_, [id](const auto& entry) { return entry.first == id; });
}

void WallDocument::notify(Change change) {
    // A copy: an observer may forget itself, or another, while it hears.
    const auto observers = observers_;
    for (const auto& [id, observer] : observers)
        if (std::any_of(observers_.begin(), observers_.end(), [id = id](const auto& e) { return e.first == id; }))
            observer(change);
}

std::string askToSaveText(const WallDocument& document) {
    const std::string name = document.path().empty() ? "未命名的墙体" : document.displayName();
    return "“" + name + "”已修改。是否保存修改？";
}

std::string wallSuggestion(const WallDocument& document) {
    return document.path().empty() ? "墙体.wall" : document.path();
}

std::string reportSuggestion(const WallDocument& document) {
    if (document.path().empty()) return "计算书.pdf";
    const std::filesystem::path path = toPath(document.path());
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
    return wallfile::displayName(folder / path.stem().concat(".pdf"));
}

}  // namespace wallcalc::form
