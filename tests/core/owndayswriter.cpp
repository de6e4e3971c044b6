// SPDX-License-Identifier: GPL-3.0-or-later
// Writes own days into a store without end, as fast as it commits, and reports each change on
// standard output once its commit has returned: "FIRST COUNT" for the entries of the days FIRST
// to FIRST + COUNT - 1 after 0200-01-01, one at a time or ten in one transaction. The
// durability test kills it at random moments.
// Usage: owndays_writer FILE FIRST

#include "owndays/owndaystore.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

using namespace kelsing;

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s FILE FIRST\n", argv[0]);
        return 2;
    }
    const DaySerial base = toDaySerial(std::chrono::year{200} / 1 / 1);
    try {
        OwnDayStore store = OwnDayStore::openForWriting(argv[1]);
        for (long first = std::atol(argv[2]);;) {
            const int count = first % 7 == 6 ? 10 : 1;
            std::vector<OwnDay> entries;
            for (int k = 0; k < count; ++k) {
                entries.push_back({base + static_cast<DaySerial>(first + k), OwnDayKind::Extra,
                                   "Nights", "batch " + std::to_string(first)});
            }
            store.setAll(entries);
            const std::string line = std::to_string(first) + ' ' + std::to_string(count) + '\n';
            if (::write(STDOUT_FILENO, line.data(), line.size()) !=
                static_cast<ssize_t>(line.size())) {
                return 1;
            }
            first += count;
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "owndays_writer: %s\n", error.what());
        return 1;
    }
}
