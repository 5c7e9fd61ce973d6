// Files written to a temporary name and renamed over the target: nothing
// left by a killed save, the target's mode and links kept, causes named.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <functional>
#include <vector>

#include "TestFiles.h"
#include "text/AtomicFile.h"

namespace zorv {
namespace {

namespace fs = std::filesystem;

class AtomicFileTest : public ScratchDirTest {
protected:
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const auto& e : fs::directory_iterator(dir_)) out.push_back(e.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }
};

// The message of a failed write, or "" when it went through.
std::string failureOf(const std::function<void()>& write) {
    try {
        write();
    } catch (const FileWriteError& e) {
        return e.what();
    }
    return "";
}

mode_t modeOf(const fs::path& p) {
    struct stat st {};
    ::stat(p.c_str(), &st);
    return st.st_mode & 07777;
}

TEST_F(AtomicFileTest, ReplacesTargetOnlyOnCommit) {
    const fs::path target = dir_ / "a.txt";
    writeFileAtomically(target.string(), "old");
    {
        AtomicFile f(target.string());
        f.write("new, unfinished");
        // destroyed without commit: an interrupted write
    }
    EXPECT_EQ(slurp(target), "old");
    EXPECT_EQ(names(), std::vector<std::string>{"a.txt"});
    writeFileAtomically(target.string(), "new");
    EXPECT_EQ(slurp(target), "new");
    EXPECT_THROW(AtomicFile((dir_ / "no-such-dir" / "x").string()), std::runtime_error);
}

// A save killed half way leaves nothing: the new file has no name until it
// is complete. A temporary file left by a killed process where the file
// system has no unnamed files is removed by the next save of its target,
// which leaves alone the temporaries of other targets and of processes
// still alive.
TEST_F(AtomicFileTest, KilledSaveLeavesNothingAndNextSaveRemovesOldTemporaries) {
    const std::string target = path("katalog.dbf");
    writeFileAtomically(target, "old");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        AtomicFile f(target);
        f.write(std::string(100000, 'x'));
        ::raise(SIGKILL);
        ::_exit(1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(names(), std::vector<std::string>{"katalog.dbf"});
    EXPECT_EQ(slurp(target), "old");

    const std::string dead = ".katalog.dbf.zorv-tmp-" + std::to_string(child);
    EXPECT_EQ(atomicTempName(target, child), path(dead));
    const std::string alive = ".katalog.dbf.zorv-tmp-" + std::to_string(::getppid());
    const std::string other = ".inny.dbf.zorv-tmp-" + std::to_string(child);
    for (const std::string& name : {dead, alive, other}) writeFileAtomically(path(name), "");
    writeFileAtomically(target, "new");
    EXPECT_EQ(slurp(target), "new");
    EXPECT_EQ(names(), (std::vector<std::string>{other, alive, "katalog.dbf"}));
}

// What is kept of the file being replaced: its permissions, the link that
// names it; a read-only one is refused.
TEST_F(AtomicFileTest, ExistingTargetKeepsItsModeAndLinksAndReadOnlyIsRefused) {
    const fs::path file = dir_ / "wynik.csv";
    writeFileAtomically(file.string(), "old");
    ::chmod(file.c_str(), 0640);
    writeFileAtomically(file.string(), "new");
    EXPECT_EQ(slurp(file), "new");
    EXPECT_EQ(modeOf(file), 0640u);

    // A link, relative, through a second link: the file it names is written.
    fs::create_directory(dir_ / "dane");
    const fs::path real = dir_ / "dane" / "katalog.dbf";
    writeFileAtomically(real.string(), "old");
    ::chmod(real.c_str(), 0604);
    fs::create_symlink("dane/katalog.dbf", dir_ / "link1");
    fs::create_symlink("link1", dir_ / "link2");
    writeFileAtomically((dir_ / "link2").string(), "through");
    EXPECT_TRUE(fs::is_symlink(dir_ / "link1"));
    EXPECT_TRUE(fs::is_symlink(dir_ / "link2"));
    EXPECT_EQ(slurp(real), "through");
    EXPECT_EQ(modeOf(real), 0604u);
    // A link to a file not yet there creates it.
    fs::create_symlink("dane/nowy.txt", dir_ / "nowy");
    writeFileAtomically((dir_ / "nowy").string(), "created");
    EXPECT_EQ(slurp(dir_ / "dane" / "nowy.txt"), "created");
    EXPECT_TRUE(fs::is_symlink(dir_ / "nowy"));

    ::chmod(file.c_str(), 0444);
    const std::string message = failureOf([&] { writeFileAtomically(file.string(), "lost"); });
    EXPECT_NE(message.find("tylko do odczytu"), std::string::npos) << message;
    EXPECT_NE(message.find(file.string()), std::string::npos) << message;
    EXPECT_EQ(slurp(file), "new");
    EXPECT_EQ(modeOf(file), 0444u);
    fs::create_symlink("wynik.csv", dir_ / "link-ro");
    EXPECT_NE(failureOf([&] { writeFileAtomically((dir_ / "link-ro").string(), "lost"); }), "");
    EXPECT_EQ(slurp(file), "new");
}

// Every failure names its cause, and leaves the target and no temporary.
TEST_F(AtomicFileTest, FailuresNameTheirCause) {
    fs::create_directory(dir_ / "folder.dbf");
    writeFileAtomically(path("plik"), "x");
    struct Case {
        const char* name;
        std::string target;
        const char* cause;
    };
    std::vector<Case> cases = {
        {"folder in the way", path("folder.dbf"), "w miejscu pliku jest folder"},
        {"missing folder", path("brak/katalog.dbf"), "folder nie istnieje"},
        {"file in the way of a folder", path("plik/katalog.dbf"), "część ścieżki nie jest folderem"},
    };
    if (::geteuid() != 0) {  // the superuser writes anywhere
        fs::create_directory(dir_ / "zamkniety");
        ::chmod((dir_ / "zamkniety").c_str(), 0555);
        cases.push_back({"folder without write permission", path("zamkniety/katalog.dbf"), "brak uprawnień"});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string message = failureOf([&] { writeFileAtomically(c.target, "x"); });
        EXPECT_NE(message.find(c.cause), std::string::npos) << message;
        EXPECT_NE(message.find(c.target), std::string::npos) << message;
    }

    // A write that runs out of room: a file size limit stands in for a full disk.
    writeFileAtomically(path("duzy.dbf"), "old");
    const auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
    rlimit was{};
    ::getrlimit(RLIMIT_FSIZE, &was);
    rlimit small = was;
    small.rlim_cur = 4096;
    ::setrlimit(RLIMIT_FSIZE, &small);
    const std::string message =
        failureOf([&] { writeFileAtomically(path("duzy.dbf"), std::string(100000, 'x')); });
    ::setrlimit(RLIMIT_FSIZE, &was);
    ::signal(SIGXFSZ, oldHandler);
    EXPECT_NE(message.find("przekroczył dopuszczalny rozmiar"), std::string::npos) << message;
    EXPECT_EQ(slurp(path("duzy.dbf")), "old");
    for (const std::string& name : names()) EXPECT_EQ(name.find(".zorv-tmp-"), std::string::npos) << name;
}

}  // namespace
}  // namespace zorv
