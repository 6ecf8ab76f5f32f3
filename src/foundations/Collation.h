#pragma once
#include <string>
#include <string_view>

namespace athanor {

// The order of sorted lists: case-insensitive by the user's locale (ICU), over
// Windows-1252 strings. Letter case is ignored, accents are not. The collator is built
// once and cached; not thread-safe (the core runs on the interface thread).

// <0, 0 or >0 as a sorts before, with or after b.
int collate(std::string_view a, std::string_view b);

// collate(a, b) < 0; a comparator for std::sort.
bool collateLess(std::string_view a, std::string_view b);

// Sort key of s: byte strings that compare (as std::string) like collate(). Cheaper when
// one string is compared many times.
std::string collationKey(std::string_view s);

// Locale of the collator: "" (the default) takes it from LC_ALL, LC_COLLATE or LANG;
// Spanish ("es") when those name no known language. Tests pin "es".
void setCollationLocale(std::string_view locale);

// ICU name of the locale in use, e.g. "es" or "de_DE".
std::string collationLocale();

// ICU locale name for a POSIX locale value ("es_ES.UTF-8" -> "es_ES"); "es" for an
// empty, "C", "POSIX" or unknown value.
std::string collationLocaleFor(std::string_view posixLocale);

}  // namespace athanor
