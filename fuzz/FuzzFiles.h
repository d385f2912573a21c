#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <unistd.h>

// A private folder for the targets that read files, made once per process.
namespace FuzzFiles {

inline const std::string& folder() {
    static const std::string path = [] {
        std::string pattern = "/tmp/brevoir-fuzz.XXXXXX";
        if (!::mkdtemp(pattern.data()))
            std::abort();
        return pattern;
    }();
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
