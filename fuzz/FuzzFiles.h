#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

// A private folder for the targets that read files, made once per process and removed at its
// end: in memory where there is a tmpfs, since the targets that write sync every file.
namespace FuzzFiles {

inline const std::string& folder() {
    // Never destroyed, so that it still names the folder when the clean-up runs at exit.
    static const std::string& path = *new std::string([] {
        std::string pattern = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm/brevoir-fuzz.XXXXXX"
                                                              : "/tmp/brevoir-fuzz.XXXXXX";
        if (!::mkdtemp(pattern.data()))
            std::abort();
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(folder(), ignored);
        });
        return pattern;
    }());
    return path;
}

inline std::string write(const char* name, const uint8_t* data, size_t size) {
    const std::string path = folder() + "/" + name;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0 || ::write(fd, data, size) != ssize_t(size))
        std::abort();
    ::close(fd);
    return path;
}

// What an adversary may put under a name we read, made once in folder(): a FIFO (an open()
// that waits for ever), a link to /dev/zero (a read that never ends), a folder, and a link
// leading out of the folder. A target that opens files by path gives each to its reader once:
// the reader must refuse them promptly (libFuzzer's -timeout ends a hang) and leave them as
// they are (standInsIntact()).
inline const std::vector<std::string>& standIns() {
    static const std::vector<std::string> paths = [] {
        // Beside the folder, so that the link leads out of it; removed with it.
        static const std::string& outside = *new std::string(folder() + "-outside");
        if (::mkdir(outside.c_str(), 0700) != 0)
            std::abort();
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(outside, ignored);
        });
        const std::string target = outside + "/secret";
        const int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0 || ::write(fd, "outside", 7) != 7)
            std::abort();
        ::close(fd);
        const std::string base = folder() + "/stand-in ";
        std::vector<std::string> made = {base + "fifo", base + "zero", base + "folder",
                                         base + "link out"};
        if (::mkfifo(made[0].c_str(), 0644) != 0 || ::symlink("/dev/zero", made[1].c_str()) != 0 ||
            ::mkdir(made[2].c_str(), 0755) != 0 || ::symlink(target.c_str(), made[3].c_str()) != 0)
            std::abort();
        made.push_back(target);
        return made;
    }();
    return paths;
}

inline const std::string& standIn(size_t index) {
    return standIns().at(index);
}
inline constexpr size_t kStandIns = 4;

// Aborts unless every stand-in is still what it was made as, and nothing was written through
// the link.
inline void standInsIntact() {
    const std::vector<std::string>& paths = standIns();
    struct stat st;
    const bool fifo = ::lstat(paths[0].c_str(), &st) == 0 && S_ISFIFO(st.st_mode);
    const bool zero = ::lstat(paths[1].c_str(), &st) == 0 && S_ISLNK(st.st_mode);
    const bool dir = ::lstat(paths[2].c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    const bool link = ::lstat(paths[3].c_str(), &st) == 0 && S_ISLNK(st.st_mode);
    char text[16] = {};
    const int fd = ::open(paths[4].c_str(), O_RDONLY | O_CLOEXEC);
    const bool untouched =
        fd >= 0 && ::read(fd, text, sizeof text) == 7 && std::memcmp(text, "outside", 7) == 0;
    if (fd >= 0)
        ::close(fd);
    if (!fifo || !zero || !dir || !link || !untouched)
        std::abort();
}

} // namespace FuzzFiles
