#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>

namespace {

struct CliRun {
    int status;
    std::string out;
};

CliRun runCli(const std::string& args) {
    const std::string cmd = std::string(ATHANOR_CLI) + " " + args + " 2>&1";
    CliRun r{0, {}};
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return {-1, {}};
    std::array<char, 512> buf{};
    while (fgets(buf.data(), buf.size(), p)) r.out += buf.data();
    const int st = pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return r;
}

TEST(CliTime, JulianDayAndDateText) {
    auto r = runCli("jd --date 01/01/2000 --time 12:00");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "{\"julianDay\":2451545,\"asteroidsValid\":true}\n");
    r = runCli("jd --date 01/03/-100 --time 00:00 --julian");
    EXPECT_EQ(r.out, "{\"julianDay\":1684592.5,\"asteroidsValid\":false}\n");
    r = runCli("date --jd 2451545");
    EXPECT_EQ(r.out, "{\"text\":\"01/01/2000 12:00\",\"weekday\":6,\"weekdayName\":\"S\xC3\xA1"
                     "bado\"}\n");
    r = runCli("date --jd 2299160.5 --julian");
    EXPECT_NE(r.out.find("05/10/1582 00:00"), std::string::npos);
}

TEST(CliTime, BadArgumentsExitWithStatusTwo) {
    for (const char* args : {"jd --date 32/01/2000 --time 12:00", "jd --date 01/01/2000", "jd --date x --time 1:00",
                             "date --jd abc", "date --jd 1 --bogus 2", "nosuchcommand"}) {
        const CliRun r = runCli(args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_EQ(r.out.find('\n'), r.out.size() - 1) << args << ": " << r.out;
    }
}

}  // namespace
