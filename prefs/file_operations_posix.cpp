// File operations on POSIX systems: rename() swaps the name over in one step,
// whoever has the old file open.

#include "prefs/file_operations.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace vantorel {

namespace {

// Writes the whole text to the open file `fd`, syncs and closes it.
bool writeAndSync(int fd, const std::string& text) {
    if (fd < 0) return false;
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    const bool written = done == text.size() && ::ftruncate(fd, static_cast<off_t>(done)) == 0;
    const bool synced = ::fsync(fd) == 0;
    return ::close(fd) == 0 && written && synced;
}

}  // namespace

bool writeNewFile(const char* path, const std::string& text) {
    return writeAndSync(::open(path, O_WRONLY | O_CREAT | O_TRUNC, 0666), text);
}

Replaced replaceFile(const char* from, const char* to) {
    return std::rename(from, to) == 0 ? Replaced::yes : Replaced::no;
}

bool overwriteFile(const char* path, const std::string& text) {
    return writeAndSync(::open(path, O_WRONLY), text);
}

bool isReadOnlyFile(const char* path) {
    struct stat info {};
    if (::stat(path, &info) != 0 || !S_ISREG(info.st_mode)) return false;
    // No write permission bit for anyone counts even for a user (root) whom
    // the permissions do not stop.
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return true;
    return ::access(path, W_OK) != 0;
}

bool fileMissing(const char* path) {
    struct stat info {};
    return ::stat(path, &info) != 0 && (errno == ENOENT || errno == ENOTDIR);
}

void createFolder(const char* path) { ::mkdir(path, 0777); }

}  // namespace vantorel
