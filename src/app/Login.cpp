#include "app/Login.h"

#include "foundations/Calendar.h"
#include "foundations/FileError.h"
#include "foundations/TextFile.h"
#include "app/AccessCodes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace athanor {

std::string readStoredPassword(const DataRoot& root) {
    const auto lines = readLines(root.resolve(kPasswordFile));
    return lines.empty() ? std::string() : lines[0];
}

void writeStoredPassword(const DataRoot& root, const std::string& password) {
    writeLines(root.resolveForWriting(kPasswordFile), {password});
}

void PasswordEntry::typeKey(char key) {
    if (key == '\r') return;
    if (key == '\b') {
        if (!typed_.empty()) typed_.pop_back();
        return;
    }
    typed_ += key;
}

CodeMatch CodeEntry::typeKey(char key) {
    if (key >= 'a' && key <= 'z') key = static_cast<char>(key - 'a' + 'A');
    typed_ += key;
    if (typed_ == kMasterCode) return CodeMatch::Master;
    if (typed_ == kMaintenanceCode) return CodeMatch::Maintenance;
    if (typed_ == kCorvellCode) return CodeMatch::Corvell;
    if (typed_ == kResetCode) return CodeMatch::Reset;
    return CodeMatch::None;
}

std::string dayNumberText(long double jd) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.6Lf", jd);
    return std::string(buf).substr(0, 7);
}

LoginRecord recordLogin(const DataRoot& root, long double todayJd) {
    if (!root.exists(kLoginDaysFile)) writeLines(root.resolveForWriting(kLoginDaysFile), {"2451545", "2451545", "1"});
    if (!root.exists(kLoginListFile)) writeLines(root.resolveForWriting(kLoginListFile), {});

    const auto solePath = root.resolve(kLoginDaysFile);
    TextReader sole(solePath);
    sole.line();
    const std::string latest = sole.line();
    const long long n = sole.integer();

    LoginRecord r;
    r.previousDay = latest;
    r.latestDay = dayNumberText(todayJd);
    r.count = n + 1;
    TextWriter().line(r.previousDay).line(r.latestDay).integer(r.count).save(solePath);

    const auto lunaPath = root.resolve(kLoginListFile);
    r.days = readLines(lunaPath);
    r.days.push_back(r.latestDay);
    writeLines(lunaPath, r.days);
    return r;
}

std::string loginDateText(const std::string& dayNumber) {
    const long double jd = parseRealOr(dayNumber, 0) + 0.5L;
    return dateTextAuto(jd).substr(0, 10);
}

std::string usageStamp(const DataRoot& root) {
    const std::vector<std::string> lines = readLines(root.resolve(kLoginDaysFile));
    const std::string previous = lines.empty() ? std::string() : lines[0];
    const long long count = lines.size() > 2 ? static_cast<long long>(parseRealOr(lines[2], 0)) : 0;
    const std::string date = loginDateText(previous);  // DD/MM/YYYY
    return std::to_string(count - 1) + "/" + date.substr(0, 6) + date.substr(std::min<std::size_t>(date.size(), 8));
}

bool readPersonalName(const DataRoot& root, std::string& firstName, std::string& surname) {
    std::vector<std::string> lines;
    try {
        lines = readLines(root.resolve(kPersonalFile));
    } catch (const FileError&) {
        writeLines(root.resolveForWriting(kPersonalFile), {"Nome", "Cognome"});
        return false;
    }
    lines.resize(2);
    firstName = lines[0].substr(0, 80);
    surname = lines[1].substr(0, 80);
    return true;
}

void writePersonalName(const DataRoot& root, const std::string& firstName, const std::string& surname) {
    writeLines(root.resolveForWriting(kPersonalFile), {firstName.substr(0, 80), surname.substr(0, 80)});
}

}  // namespace athanor
