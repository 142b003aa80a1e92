// Wall files: the round trip, files that must be refused, and the atomic write.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

#include "calc/crack.h"
#include "calc/strength.h"
#include "report/compose.h"
#include "wallfile/atomic_write.h"
#include "wallfile/wallfile.h"

namespace wallcalc::wallfile {
namespace {

namespace fs = std::filesystem;

class WallFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("wallfile-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path dir;
};

FieldSet calculated(FieldSet fields) {
    strengthCalculation(fields);
    crackWidthCheck(fields);
    composeReport(fields);
    return fields;
}

TEST_F(WallFileTest, SavedWallOpensWithTheSameFieldsOptionsAndResults) {
    Wall wall;
    wall.fields.setText(Field::Text1, "20");
    wall.fields.setText(Field::Text4, "350");
    wall.fields.setText(Field::Combo1, "2");
    // Texts a JSON writer must escape, and one that is not a number at all.
    wall.fields.setText(Field::Text25, "1\"5\\0\t");
    wall.fields.setText(Field::Text17, "十六");
    wall.options.set("wlim_in", "0.3");
    wall.options.set("support", "fixed");
    save(dir / "a.wall", wall);

    const Wall back = load(dir / "a.wall");
    EXPECT_EQ(back, wall);
    // Keys in the documented order whatever the order they were set in.
    ASSERT_EQ(back.options.entries().size(), 2u);
    EXPECT_EQ(back.options.entries()[0].first, "support");
    // An option taken out again is not in the file at all: the review's default applies.
    Wall fewer = back;
    EXPECT_TRUE(fewer.options.unset("support"));
    EXPECT_FALSE(fewer.options.unset("support"));
    EXPECT_EQ(fewer.options.find("support"), nullptr);
    EXPECT_EQ(*fewer.options.find("wlim_in"), "0.3");
    EXPECT_EQ(toJson(fewer).find("support"), std::string::npos);

    // The defaults with a 350 mm wall and 20 kN/m² on the ground, before and after the file.
    Wall plain;
    plain.fields.setText(Field::Text1, "20");
    plain.fields.setText(Field::Text4, "350");
    save(dir / "b.wall", plain);
    const FieldSet results = calculated(load(dir / "b.wall").fields);
    EXPECT_EQ(results, calculated(plain.fields));
    // Q = 1.4·0.5·20 + 1.2·(4.5 + 24.75 + 45) = 14 + 89.1 = 103.1 kN.
    EXPECT_EQ(results.text(Field::Text23), "103.1");
    EXPECT_EQ(entries(), (std::vector<std::string>{"a.wall", "b.wall"}));
}

TEST_F(WallFileTest, FilesThatAreNotGoodWallFilesAreRefusedWithTheirReason) {
    const std::string fields = R"("fields": {"Text1": "10"})";
    struct Case {
        const char* name;
        std::string text;
        const char* says;
    };
    const Case cases[] = {
        {"empty", "", "不是墙体文件"},
        {"plain text", "地面堆载 10", "不是墙体文件"},
        {"binary", std::string("\x89PNG\r\n\x1a\n\0\0", 10), "不是墙体文件（不是 UTF-8 文字）"},
        {"other JSON", R"({"name": "x", "version": 1})", "不是墙体文件"},
        {"cut short", R"({"format": "wallcalc-wall", "version": 1, "fields": {"Text1": "1)", "已损坏：第1行"},
        {"newer version", R"({"format": "wallcalc-wall", "version": 2, )" + fields + "}",
         "格式版本为 2，本程序只能读取版本 1"},
        {"no version", R"({"format": "wallcalc-wall", )" + fields + "}", "缺少格式版本"},
        {"output field", R"({"format": "wallcalc-wall", "version": 1, "fields": {"Text5": "1"}})",
         "\"Text5\" 不是输入字段"},
        {"number, not text", R"({"format": "wallcalc-wall", "version": 1, "fields": {"Text1": 10}})", "应为文字"},
        {"unknown option", R"({"format": "wallcalc-wall", "version": 1, )" + fields + R"(, "options": {"K": "1"}})",
         "已损坏：复核选项“K”不存在"},
        {"bad option",
         R"({"format": "wallcalc-wall", "version": 1, )" + fields + R"(, "options": {"support": "pinned"}})",
         "已损坏：复核选项 support"},
        {"lone surrogate", R"({"format": "wallcalc-wall", "version": 1, "fields": {"Text1": "\ud800"}})",
         "孤立的高位代理"},
        // Where: the line, and the column in characters (十 is one), of what is wrong.
        {"unescaped tab", "{\"format\": \"wallcalc-wall\",\n \"version\": 1, \"fields\": {\"Text1\": \"十\tb\"}}",
         "已损坏：第2行第38列：字符串中有未转义的控制字符"},
        {"missing comma", R"({"format": "wallcalc-wall", "version": 1, "fields": {"Text1": "2" "Text2": "3"}})",
         "已损坏：第1行第67列：这里应为逗号或右花括号"},
        {"number too large", R"({"format": "wallcalc-wall", "version": 1e999, )" + fields + "}", "数字超出范围"},
        {"too deep", R"({"format": "wallcalc-wall", "x": )" + std::string(100, '['), "嵌套过深"},
        // A name given twice: the second would pass unseen, even an output field.
        {"field twice",
         "{\"format\": \"wallcalc-wall\", \"version\": 1,\n  \"fields\": {\"Text1\": \"10\", \"Text1\": \"20\"}}",
         "已损坏：第2行第29列：名称 \"Text1\" 在同一处出现了两次"},
        {"fields twice", R"({"format": "wallcalc-wall", "version": 1, "fields": {"Text5": "1"}, )" + fields + "}",
         "名称 \"fields\" 在同一处出现了两次"},
    };
    for (const Case& c : cases) {
        std::ofstream(dir / "x.wall", std::ios::binary) << c.text;
        try {
            load(dir / "x.wall");
            ADD_FAILURE() << c.name << ": accepted";
        } catch (const WallFileError& error) {
            EXPECT_NE(std::string(error.what()).find(c.says), std::string::npos) << c.name << ": " << error.what();
            EXPECT_NE(std::string(error.what()).find("x.wall"), std::string::npos) << c.name;
        }
    }
    EXPECT_THROW(load(dir / "missing.wall"), WallFileError);
}

TEST_F(WallFileTest, HandWrittenFileWithEscapesAndMissingFieldsReads) {
    // ² written as an escape, 𝑞 (U+1D45E) as a surrogate pair; fields left out keep the defaults.
    std::ofstream(dir / "h.wall") << "\xEF\xBB\xBF{ \"version\" : 1, \"format\":\"wallcalc-wall\",\n"
                                     "  \"fields\": {\"Text1\": \"10\\u00b2 \\ud835\\udc5e\"} }";
    const Wall wall = load(dir / "h.wall");
    EXPECT_EQ(wall.fields.text(Field::Text1), "10\u00b2 \U0001D45E");
    EXPECT_EQ(wall.fields.text(Field::Text4), defaultText(Field::Text4));
    EXPECT_TRUE(wall.options.empty());
}

TEST_F(WallFileTest, WriteIsAllOrNothing) {
    const fs::path target = dir / "w.wall";
    writeAtomically(target, "old contents");
    // A crash between writing the new file and putting it in place: the old file stands whole
    // and the temporary file is gone.
    fs::path seen;
    EXPECT_THROW(writeAtomically(target, "new contents",
                                 [&](const fs::path& temporary) {
                                     seen = temporary;
                                     EXPECT_EQ(readWholeFile(temporary, kMaxBytes), "new contents");
                                     EXPECT_EQ(temporary.parent_path(), dir);
                                     throw std::runtime_error("crash");
                                 }),
                 std::runtime_error);
    EXPECT_FALSE(seen.empty());
    EXPECT_EQ(readWholeFile(target, kMaxBytes), "old contents");
    EXPECT_EQ(entries(), std::vector<std::string>{"w.wall"});

    writeAtomically(target, "new contents");
    EXPECT_EQ(readWholeFile(target, kMaxBytes), "new contents");
    EXPECT_EQ(entries(), std::vector<std::string>{"w.wall"});

    // A target that cannot be replaced (a directory stands there): an error, nothing left over.
    fs::create_directory(dir / "d.wall");
    fs::create_directory(dir / "d.wall" / "inside");
    EXPECT_THROW(save(dir / "d.wall", Wall{}), WallFileError);
    EXPECT_EQ(entries(), (std::vector<std::string>{"d.wall", "w.wall"}));
}

TEST_F(WallFileTest, TemporaryFilesKeepWithinTheNameLimitAndCrashesLeftoversGo) {
    Wall wall;
    wall.fields.setText(Field::Text1, "20");
    // 83 characters of three bytes and ".wall": a name of 254 bytes, one short of the limit.
    std::string name;
    for (int i = 0; i < 83; ++i) name += "墙";
    name += ".wall";
    const fs::path longName = dir / fs::u8path(name);
    fs::path temporary;
    EXPECT_THROW(writeAtomically(longName, "x",
                                 [&](const fs::path& t) {
                                     temporary = t;
                                     throw std::runtime_error("crash");
                                 }),
                 std::runtime_error);
    EXPECT_LE(temporary.filename().u8string().size(), 255u);
    save(longName, wall);
    EXPECT_EQ(load(longName), wall);

    // What a crash left behind for a target goes at its next save once it is a minute old; a
    // fresh one may be a save in progress, and another target's are not this save's business.
    const auto old = fs::file_time_type::clock::now() - std::chrono::minutes(2);
    for (const fs::path& leftover :
         {dir / ".w.wall.tmp123456", dir / ".w.wall.tmp42", dir / ".v.wall.tmp7", temporary}) {
        std::ofstream(leftover) << "half a wall";
        if (leftover != dir / ".w.wall.tmp42") fs::last_write_time(leftover, old);
    }
    save(dir / "w.wall", wall);
    save(longName, wall);
    EXPECT_EQ(entries(), (std::vector<std::string>{".v.wall.tmp7", ".w.wall.tmp42", "w.wall", name}));
}

#if !defined(_WIN32)
TEST_F(WallFileTest, WhatIsNoWallFileIsRefusedUnread) {
    ASSERT_EQ(::mkfifo((dir / "pipe.wall").c_str(), 0600), 0);
    fs::create_directory(dir / "folder.wall");
    std::ofstream(dir / "big.wall") << std::string(kMaxBytes + 1, ' ');
    Wall wall;
    wall.fields.setText(Field::Text4, "350");
    save(dir / "good.wall", wall);
    std::string atTheLimit = toJson(wall);
    atTheLimit.resize(kMaxBytes, ' ');
    std::ofstream(dir / "full.wall") << atTheLimit;
    fs::create_symlink("good.wall", dir / "link.wall");
    struct Case {
        fs::path path;
        const char* says;
    };
    const Case cases[] = {
        {"/dev/zero", "不是普通文件"},        // would never end
        {dir / "pipe.wall", "不是普通文件"},  // nobody writes to it: would wait for ever
        {dir / "folder.wall", "不是普通文件"},  {dir / "big.wall", "文件大于 1 MB"},
        {dir / "missing.wall", "无法打开文件"},
    };
    for (const Case& c : cases) {
        try {
            load(c.path);
            ADD_FAILURE() << c.path << ": accepted";
        } catch (const WallFileError& error) {
            EXPECT_NE(std::string(error.what()).find(c.says), std::string::npos) << c.path << ": " << error.what();
        }
    }
    EXPECT_EQ(load(dir / "full.wall"), wall);
    EXPECT_EQ(load(dir / "link.wall"), wall);
}

TEST_F(WallFileTest, SavingWritesThroughLinksKeepsPermissionsAndRefusesReadOnlyFiles) {
    using fs::perms;
    Wall ten, twenty;
    ten.fields.setText(Field::Text1, "10");
    twenty.fields.setText(Field::Text1, "20");
    fs::create_directory(dir / "real");
    const fs::path real = dir / "real" / "a.wall";
    save(real, ten);
    fs::create_symlink("real/a.wall", dir / "a.wall");

    const perms own = perms::owner_read | perms::owner_write;
    fs::permissions(real, own);
    save(dir / "a.wall", twenty);
    EXPECT_TRUE(fs::is_symlink(dir / "a.wall"));
    EXPECT_EQ(load(real), twenty);
    EXPECT_EQ(fs::status(real).permissions(), own);

    fs::permissions(real, perms::owner_read | perms::group_read | perms::others_read);
    try {
        save(dir / "a.wall", ten);
        ADD_FAILURE() << "a read-only file was overwritten";
    } catch (const WallFileError& error) {
        EXPECT_NE(std::string(error.what()).find("a.wall：文件是只读的"), std::string::npos) << error.what();
    }
    EXPECT_EQ(load(real), twenty);
    EXPECT_EQ(entries(), (std::vector<std::string>{"a.wall", "real"}));
    EXPECT_EQ(fs::directory_iterator(dir / "real")->path(), real);
}
#endif

}  // namespace
}  // namespace wallcalc::wallfile
