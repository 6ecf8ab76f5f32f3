#pragma once
#include "foundations/DataRoot.h"

#include <string>
#include <vector>

namespace athanor {

inline constexpr const char* kPasswordFile = "Appoggio\\Appoggio1.txt";
inline constexpr const char* kLoginDaysFile = "OpzioneT\\Sole.tm1";
inline constexpr const char* kLoginListFile = "OpzioneT\\Luna.tm1";

// Line 1 of the password file; FileError when it is missing.
std::string readStoredPassword(const DataRoot& root);
void writeStoredPassword(const DataRoot& root, const std::string& password);

// The keys typed into the password fields, kept apart from what the fields display.
// Keys: '\r' Enter, '\b' Backspace, anything else a character.
class PasswordEntry {
public:
    void setStored(std::string stored) { stored_ = std::move(stored); }
    const std::string& stored() const { return stored_; }

    // A key in the password field.
    void typeKey(char key);
    void forget() { typed_.clear(); }
    const std::string& typed() const { return typed_; }
    // "Entrar" is enabled exactly when the lengths agree.
    bool lengthMatches() const { return typed_.size() == stored_.size(); }
    bool matches() const { return typed_ == stored_; }

private:
    std::string stored_;
    std::string typed_;
};

// What the hidden code field recognises in the characters typed so far.
enum class CodeMatch { None, Master, Maintenance, Corvell, Reset };

class CodeEntry {
public:
    // Appends the key upper-cased (a-z only) and compares.
    CodeMatch typeKey(char key);
    void clear() { typed_.clear(); }
    const std::string& typed() const { return typed_; }

private:
    std::string typed_;
};

// The usage record of the logins. `todayJd` is today's Julian day at 0 h.
struct LoginRecord {
    std::string previousDay;        // Sole.tm1 line 1 after the login: the login before
    std::string latestDay;          // line 2: today
    long long count = 0;            // line 3: the logins so far plus one
    std::vector<std::string> days;  // Luna.tm1, one seven-character Julian day per login
};

// The first seven characters of a Julian day (its whole day number).
std::string dayNumberText(long double jd);

// Creates the two files when absent, shifts Sole.tm1 and appends today to Luna.tm1.
LoginRecord recordLogin(const DataRoot& root, long double todayJd);

// The date of a login as the list shows it: "DD/MM/YYYY" of the day number. The number
// is the whole part of the day's 0 h Julian day, so half a day is added back.
std::string loginDateText(const std::string& dayNumber);

// The usage stamp of the update window, from Sole.tm1: the logins before the latest (line 3
// less one), "/", and the date of the previous login (line 1) as DD/MM/YY. FileError when
// the file is missing.
std::string usageStamp(const DataRoot& root);

inline constexpr const char* kPersonalFile = "FileTmp\\Personal.Tmp";

// The practitioner's first name and surname (each at most 80 characters). When the file
// cannot be read it is created with "Nome" and "Cognome" and false is returned, the
// names left as they were.
bool readPersonalName(const DataRoot& root, std::string& firstName, std::string& surname);
void writePersonalName(const DataRoot& root, const std::string& firstName, const std::string& surname);

}  // namespace athanor
