// File operations on POSIX systems: rename() swaps the name over in one step.

#include "prefs/file_operations.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace vantorel {

bool replaceFile(const char* from, const char* to) {
    // Get the new contents onto the disk before the name points at them.
    const int fd = ::open(from, O_RDONLY);
    if (fd < 0) return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced && std::rename(from, to) == 0;
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
