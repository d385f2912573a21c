#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>

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

} // namespace FuzzFiles
