// Catalogue files of both formats opened for editing through TableFiles:
// what the two formats must agree on.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>

#include "TestFiles.h"
#include "files/TableFiles.h"
#include "table/TableError.h"

namespace zorv {
namespace {

class TableFilesTest : public ScratchDirTest {
protected:
    // A catalogue of the two formats with an auto-increment field.
    std::string catalogue(const std::string& name, std::int64_t lastNumber) {
        Table t({{"ODDZIAL", FieldType::String, 10}, {"NR", FieldType::AutoInc}});
        t.appendRecord({Value::text("G-1"), Value::integer(1)});
        t.appendRecord({Value::text("G-2"), Value::integer(lastNumber)});
        const std::string file = path(name);
        writeTableFile(t, file);
        return file;
    }
};

TEST_F(TableFilesTest, AutoIncrementAtItsLargestNumberRefusesTheAppend) {
    for (const char* name : {"katalog.dbf", "katalog.db"}) {
        SCOPED_TRACE(name);
        const std::string file = catalogue(name, 2147483647);
        const std::string before = slurp(file);
        const auto t = openTableFile(file, true);
        try {
            t->appendRecord({Value::text("G-3")});
            ADD_FAILURE() << "appended";
        } catch (const TableError& e) {
            EXPECT_NE(std::string(e.what()).find("NR"), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find("2147483647"), std::string::npos) << e.what();
        }
        EXPECT_EQ(t->recordCount(), 2u);
        EXPECT_EQ(t->state(), Table::State::Browse);
        EXPECT_EQ(slurp(file), before);
        // A number given by hand still goes in, and one below the largest is
        // followed by the largest.
        t->appendRecord({Value::text("G-3"), Value::integer(7)});
        EXPECT_EQ(openTableFile(file, false)->value(2, 1), Value::integer(7));
    }
    for (const char* name : {"zapas.dbf", "zapas.db"}) {
        SCOPED_TRACE(name);
        const auto t = openTableFile(catalogue(name, 2147483646), true);
        t->appendRecord({Value::text("G-3")});
        EXPECT_EQ(t->value(2, 1), Value::integer(2147483647));
        EXPECT_THROW(t->appendRecord({Value::text("G-4")}), TableError);
    }
}

// Values the file cannot tell apart (dBase: null text and empty text, text
// with trailing blanks; Paradox: empty text and null) show in the open table
// as the file reads them back, so a filter answers alike before and after
// reopening.
TEST_F(TableFilesTest, OpenTableShowsWhatItsFileReadsBack) {
    for (const char* name : {"katalog.dbf", "katalog.db"}) {
        SCOPED_TRACE(name);
        const std::string file = catalogue(name, 2);
        const auto t = openTableFile(file, true);
        t->appendRecord({Value{}});
        t->appendRecord({Value::text("")});
        t->appendRecord({Value::text("G-5  ")});
        t->setRecNo(1);
        t->edit();
        t->setFieldValue("ODDZIAL", Value{});
        t->post();
        const auto back = openTableFile(file, false);
        ASSERT_EQ(back->recordCount(), t->recordCount());
        for (std::size_t r = 0; r < t->recordCount(); ++r)
            for (int f = 0; f < t->fieldCount(); ++f) EXPECT_EQ(t->value(r, f), back->value(r, f)) << r;
        for (Table* table : {t.get(), back.get()}) {
            table->setFilter("ODDZIAL IS NULL");
            table->setFiltered(true);
        }
        EXPECT_EQ(t->recordCount(), back->recordCount());
    }
}

// Opens `file` for writing in a child process, appends a record there (a
// Paradox table is rewritten, a new file under the old name) and holds it
// open until told to close. The child answers '1' once it holds the table,
// '0' when the open failed.
class WritingChild {
public:
    explicit WritingChild(const std::string& file) {
        if (::pipe(up_) != 0 || ::pipe(down_) != 0) throw std::runtime_error("pipe");
        pid_ = ::fork();
        if (pid_ < 0) throw std::runtime_error("fork");
        if (pid_ == 0) {
            char answer = '0';
            try {
                const auto t = openTableFile(file, true);
                t->appendRecord({Value::text("dziecko")});
                answer = '1';
                (void)!::write(up_[1], &answer, 1);
                char go = 0;
                (void)!::read(down_[0], &go, 1);
            } catch (...) {
                (void)!::write(up_[1], &answer, 1);
            }
            ::_exit(0);
        }
        (void)!::read(up_[0], &answer_, 1);
    }
    ~WritingChild() { close(); }

    bool holdsTable() const { return answer_ == '1'; }
    // Lets the child close the table and end.
    void close() {
        if (pid_ <= 0) return;
        (void)!::write(down_[1], "x", 1);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = 0;
        for (const int fd : {up_[0], up_[1], down_[0], down_[1]}) ::close(fd);
    }

private:
    int up_[2] = {-1, -1}, down_[2] = {-1, -1};
    pid_t pid_ = 0;
    char answer_ = 0;
};

TEST_F(TableFilesTest, SecondWritableOpenIsRefusedWhileTheFirstLives) {
    for (const char* name : {"katalog.dbf", "katalog.db"}) {
        SCOPED_TRACE(name);
        const std::string file = catalogue(name, 2);
        {
            WritingChild child(file);
            ASSERT_TRUE(child.holdsTable());
            try {
                (void)openTableFile(file, true);
                ADD_FAILURE() << "opened for writing twice";
            } catch (const FileLockedError& e) {
                EXPECT_EQ(std::string(e.what()), "Katalog " + file +
                                                     " jest otwarty do zapisu w innym programie. Można go "
                                                     "otworzyć tylko do odczytu.");
            }
            // Reading is not refused, and sees the other program's record.
            EXPECT_EQ(openTableFile(file, false)->recordCount(), 3u);
            child.close();
        }
        // Once the other program closed it, and in one program one at a time.
        auto first = openTableFile(file, true);
        first->appendRecord({Value::text("rodzic")});
        EXPECT_THROW((void)openTableFile(file, true), FileLockedError);
        first.reset();
        EXPECT_EQ(openTableFile(file, true)->recordCount(), 4u);
    }
}

// A whole-table save killed at random moments: afterwards the folder holds
// the old file or the complete new one, and nothing else.
TEST_F(TableFilesTest, KilledSavesLeaveTheOldFileOrTheWholeNewOne) {
    namespace fs = std::filesystem;
    Table big({{"ODDZIAL", FieldType::String, 10},
               {"DATA", FieldType::Date},
               {"ENERGIA", FieldType::Float},
               {"X", FieldType::Integer}});
    for (int i = 0; i < 200000; ++i)
        big.appendRecord({Value::text("G-" + std::to_string(i % 7)), Value::date(36000 + i / 50),
                          Value::real(1e3 * (1 + i % 1000)), Value::integer(i)});
    std::mt19937 random(20261209);
    int kills = 0;
    for (const char* name : {"katalog.dbf", "katalog.db"}) {
        SCOPED_TRACE(name);
        const std::string file = catalogue(name, 2);
        std::string oldBytes = slurp(file);
        // The complete new file, written under the same name elsewhere.
        fs::create_directory(dir_ / "wzor");
        const std::string reference = (dir_ / "wzor" / name).string();
        const auto start = std::chrono::steady_clock::now();
        writeTableFile(big, reference);
        const auto whole = std::chrono::steady_clock::now() - start;
        const std::string newBytes = slurp(reference);
        fs::remove_all(dir_ / "wzor");

        // Trials until 14 saves were cut short (a loaded machine lets some
        // saves finish before the kill), at most 60.
        int cut = 0;
        for (int trial = 0; trial < 60 && cut < 14; ++trial) {
            const pid_t child = ::fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                writeTableFile(big, file);
                ::_exit(0);
            }
            std::uniform_real_distribution<double> at(0.0, 0.9);
            std::this_thread::sleep_for(
                std::chrono::duration_cast<std::chrono::microseconds>(whole * at(random)));
            ::kill(child, SIGKILL);
            int status = 0;
            ::waitpid(child, &status, 0);
            kills += WIFSIGNALED(status);
            cut += WIFSIGNALED(status);
            std::vector<std::string> left;
            for (const auto& e : fs::directory_iterator(dir_)) left.push_back(e.path().filename().string());
            EXPECT_EQ(left, std::vector<std::string>{name});
            const std::string now = slurp(file);
            if (now == oldBytes) continue;
            // The new file whole (a Paradox header carries a time stamp of its own).
            ASSERT_EQ(now.size(), newBytes.size()) << "trial " << trial;
            auto read = openTableFile(file, false);
            ASSERT_EQ(read->recordCount(), big.recordCount());
            read->last();
            EXPECT_EQ(read->fieldValue(3).toInt(), 199999);
            // Start each trial from the old file again (made anew, a Paradox
            // table has a new time stamp).
            catalogue(name, 2);
            oldBytes = slurp(file);
        }
        fs::remove(file);
    }
    // The trials must really have cut saves short.
    EXPECT_EQ(kills, 28);
}

}  // namespace
}  // namespace zorv
