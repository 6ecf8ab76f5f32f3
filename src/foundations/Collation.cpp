#include "foundations/Collation.h"

#include "foundations/Cp1252.h"

#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace athanor {

namespace {

struct CollatorCache {
    std::string requested;  // what setCollationLocale asked for
    std::string locale;     // ICU name in use
    std::unique_ptr<icu::Collator> collator;
};

CollatorCache& cache() {
    static CollatorCache c;
    return c;
}

bool isKnownLanguage(const char* language) {
    if (!language || !*language) return false;
    for (const char* const* l = icu::Locale::getISOLanguages(); *l; ++l)
        if (std::strcmp(*l, language) == 0) return true;
    return false;
}

std::string environmentLocale() {
    for (const char* var : {"LC_ALL", "LC_COLLATE", "LANG"}) {
        const char* v = std::getenv(var);
        if (v && *v) return v;
    }
    return {};
}

icu::Collator& collator() {
    CollatorCache& c = cache();
    if (c.collator) return *c.collator;
    const std::string name = collationLocaleFor(c.requested.empty() ? environmentLocale() : c.requested);
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Collator> coll(icu::Collator::createInstance(icu::Locale(name.c_str()), status));
    if (U_FAILURE(status) || !coll) {
        status = U_ZERO_ERROR;
        coll.reset(icu::Collator::createInstance(icu::Locale("es"), status));
    }
    if (U_FAILURE(status) || !coll) {
        // Without collation data only the root order is left.
        status = U_ZERO_ERROR;
        coll.reset(icu::Collator::createInstance(icu::Locale::getRoot(), status));
    }
    if (!coll) std::abort();  // ICU without any data: nothing sensible can be sorted
    // Secondary strength: accents count, letter case does not.
    coll->setStrength(icu::Collator::SECONDARY);
    c.locale = name;
    c.collator = std::move(coll);
    return *c.collator;
}

std::u16string toUtf16(std::string_view s) {
    std::u16string u(s.size(), u'\0');
    for (size_t i = 0; i < s.size(); ++i)
        u[i] = static_cast<char16_t>(cp1252ToCodePoint(static_cast<unsigned char>(s[i])));
    return u;
}

}  // namespace

std::string collationLocaleFor(std::string_view posixLocale) {
    std::string name(posixLocale);
    if (auto cut = name.find_first_of(".@"); cut != std::string::npos) name.resize(cut);
    if (name.empty() || name == "C" || name == "POSIX") return "es";
    const icu::Locale loc(name.c_str());
    if (loc.isBogus() || !isKnownLanguage(loc.getLanguage())) return "es";
    return loc.getName();
}

void setCollationLocale(std::string_view locale) {
    CollatorCache& c = cache();
    c.requested = std::string(locale);
    c.collator.reset();
    c.locale.clear();
}

std::string collationLocale() {
    collator();
    return cache().locale;
}

int collate(std::string_view a, std::string_view b) {
    UErrorCode status = U_ZERO_ERROR;
    const std::u16string ua = toUtf16(a), ub = toUtf16(b);
    const UCollationResult r = collator().compare(ua.data(), static_cast<int32_t>(ua.size()), ub.data(),
                                                  static_cast<int32_t>(ub.size()), status);
    if (U_FAILURE(status)) return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
    return r == UCOL_LESS ? -1 : (r == UCOL_EQUAL ? 0 : 1);
}

bool collateLess(std::string_view a, std::string_view b) { return collate(a, b) < 0; }

std::string collationKey(std::string_view s) {
    const std::u16string w = toUtf16(s);
    const icu::UnicodeString u(false, w.data(), static_cast<int32_t>(w.size()));
    icu::Collator& coll = collator();
    std::vector<uint8_t> buf(s.size() * 4 + 16);
    int32_t len = coll.getSortKey(u, buf.data(), static_cast<int32_t>(buf.size()));
    if (len > static_cast<int32_t>(buf.size())) {
        buf.resize(static_cast<size_t>(len));
        len = coll.getSortKey(u, buf.data(), len);
    }
    // The key ends in a zero byte that adds nothing to the order.
    if (len > 0 && buf[static_cast<size_t>(len) - 1] == 0) --len;
    return std::string(reinterpret_cast<const char*>(buf.data()), static_cast<size_t>(len));
}

}  // namespace athanor
