// SPDX-License-Identifier: GPL-3.0-or-later
// Writes preferences as fast as it can until it is killed:
//   preferences-writer FILE
// Every value it writes is consistent with the others of the same round, so a
// reader can tell a torn file from an old or a new one.
#include "Defaults.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: preferences-writer FILE\n");
        return 2;
    }
    Defaults defaults(argv[1]);
    for (std::int64_t round = 1;; ++round) {
        defaults.setInteger(round, "startHour");
        defaults.setString(std::string(200 + round % 50, 'x') + std::to_string(round),
                           "currencySymbol");
        defaults.setDouble(static_cast<double>(round) + 0.5, "dailyPay");
        std::printf("%lld\n", static_cast<long long>(round));
        std::fflush(stdout);
    }
}
