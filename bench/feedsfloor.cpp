// SPDX-License-Identifier: GPL-3.0-or-later
// The floor of kelsing-shifts feeds: the same files, read from a folder that it wrote, written
// the way it writes them (a folder beside the target, each file with its time, one sync, a
// rename into place, the earlier folder removed), with nothing worked out.
// Usage: kelsing_feeds_floor SOURCE TARGET

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: kelsing_feeds_floor SOURCE TARGET\n");
        return 2;
    }
    namespace fs = std::filesystem;
    struct File {
        std::string name;
        std::string contents;
    };
    std::vector<File> files;
    for (const auto& entry : fs::directory_iterator(argv[1])) {
        std::ifstream in(entry.path(), std::ios::binary);
        files.push_back({entry.path().filename().string(),
                         std::string((std::istreambuf_iterator<char>(in)), {})});
    }
    const fs::path target = argv[2];
    std::string temporary = target.parent_path().string() + "/.floor-XXXXXX";
    if (::mkdtemp(temporary.data()) == nullptr || ::chmod(temporary.c_str(), 0755) != 0) {
        return 1;
    }
    const timespec times[2] = {{1796774400, 0}, {1796774400, 0}};
    for (const File& file : files) {
        const int fd = ::open((temporary + '/' + file.name).c_str(),
                              O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0 || ::write(fd, file.contents.data(), file.contents.size()) < 0 ||
            ::futimens(fd, times) != 0 || ::close(fd) != 0) {
            return 1;
        }
    }
    const int folder = ::open(temporary.c_str(), O_RDONLY | O_DIRECTORY);
    ::syncfs(folder);
    ::close(folder);
    const bool exists = fs::exists(target);
    if (exists ? ::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, target.c_str(),
                             RENAME_EXCHANGE) != 0
               : ::rename(temporary.c_str(), target.c_str()) != 0) {
        return 1;
    }
    if (exists) {
        fs::remove_all(temporary);
    }
    const int parent = ::open(target.parent_path().c_str(), O_RDONLY | O_DIRECTORY);
    ::fsync(parent);
    ::close(parent);
    return 0;
}
