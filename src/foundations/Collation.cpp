#include "foundations/Collation.h"

#include "foundations/Cp1252.h"

#include <unicode/ucol.h>
#include <unicode/uloc.h>
#include <unicode/uvernum.h>

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace athanor {

namespace {

// ICU is opened the first time something is sorted, not linked: most commands of the light
// command-line program sort nothing, and loading ICU's libraries costs them a millisecond and
// a half at every start. The C names carry the version suffix of the ICU built against.
#define ATHANOR_NAME_OF(symbol) ATHANOR_NAME_OF_(symbol)
#define ATHANOR_NAME_OF_(symbol) #symbol

struct Icu {
    decltype(&uloc_getISOLanguages) getISOLanguages = nullptr;
    decltype(&uloc_getName) getName = nullptr;
    decltype(&uloc_getLanguage) getLanguage = nullptr;
    decltype(&ucol_open) open = nullptr;
    decltype(&ucol_close) close = nullptr;
    decltype(&ucol_setStrength) setStrength = nullptr;
    decltype(&ucol_strcoll) strcoll = nullptr;
    decltype(&ucol_getSortKey) getSortKey = nullptr;
};

[[noreturn]] void icuMissing(const char* what) {
    std::fprintf(stderr, "athanor: ICU %s cannot be loaded: %s\n", U_ICU_VERSION, what);
    std::abort();  // nothing sensible can be sorted
}

template <typename F>
void bind(void* library, F& f, const char* name) {
    f = reinterpret_cast<F>(::dlsym(library, name));
    if (!f) icuMissing(name);
}

const Icu& icu() {
    static const Icu loaded = [] {
        Icu i;
        void* common = ::dlopen("libicuuc.so." U_ICU_VERSION_SHORT, RTLD_NOW | RTLD_GLOBAL);
        if (!common) icuMissing(::dlerror());
        void* i18n = ::dlopen("libicui18n.so." U_ICU_VERSION_SHORT, RTLD_NOW | RTLD_GLOBAL);
        if (!i18n) icuMissing(::dlerror());
        bind(common, i.getISOLanguages, ATHANOR_NAME_OF(uloc_getISOLanguages));
        bind(common, i.getName, ATHANOR_NAME_OF(uloc_getName));
        bind(common, i.getLanguage, ATHANOR_NAME_OF(uloc_getLanguage));
        bind(i18n, i.open, ATHANOR_NAME_OF(ucol_open));
        bind(i18n, i.close, ATHANOR_NAME_OF(ucol_close));
        bind(i18n, i.setStrength, ATHANOR_NAME_OF(ucol_setStrength));
        bind(i18n, i.strcoll, ATHANOR_NAME_OF(ucol_strcoll));
        bind(i18n, i.getSortKey, ATHANOR_NAME_OF(ucol_getSortKey));
        return i;
    }();
    return loaded;
}

struct CollatorCache {
    std::string requested;  // what setCollationLocale asked for
    std::string locale;     // ICU name in use
    UCollator* collator = nullptr;
    ~CollatorCache() { reset(); }
    void reset() {
        if (collator) icu().close(collator);
        collator = nullptr;
    }
};

CollatorCache& cache() {
    static CollatorCache c;
    return c;
}

bool isKnownLanguage(const char* language) {
    if (!language || !*language) return false;
    for (const char* const* l = icu().getISOLanguages(); *l; ++l)
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

UCollator* openCollator(const char* locale) {
    UErrorCode status = U_ZERO_ERROR;
    UCollator* c = icu().open(locale, &status);
    if (U_FAILURE(status)) {
        if (c) icu().close(c);
        return nullptr;
    }
    return c;
}

UCollator* collator() {
    CollatorCache& c = cache();
    if (c.collator) return c.collator;
    const std::string name = collationLocaleFor(c.requested.empty() ? environmentLocale() : c.requested);
    UCollator* coll = openCollator(name.c_str());
    if (!coll) coll = openCollator("es");
    // Without collation data only the root order is left.
    if (!coll) coll = openCollator("");
    if (!coll) icuMissing("no collation data");
    // Secondary strength: accents count, letter case does not.
    icu().setStrength(coll, UCOL_SECONDARY);
    c.locale = name;
    c.collator = coll;
    return coll;
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
    UErrorCode status = U_ZERO_ERROR;
    char full[ULOC_FULLNAME_CAPACITY];
    const int32_t length = icu().getName(name.c_str(), full, sizeof full, &status);
    if (U_FAILURE(status) || status == U_STRING_NOT_TERMINATED_WARNING || length >= int32_t(sizeof full)) return "es";
    char language[ULOC_LANG_CAPACITY];
    icu().getLanguage(full, language, sizeof language, &status);
    if (U_FAILURE(status) || status == U_STRING_NOT_TERMINATED_WARNING || !isKnownLanguage(language)) return "es";
    return full;
}

void setCollationLocale(std::string_view locale) {
    CollatorCache& c = cache();
    c.requested = std::string(locale);
    c.reset();
    c.locale.clear();
}

std::string collationLocale() {
    collator();
    return cache().locale;
}

int collate(std::string_view a, std::string_view b) {
    const std::u16string ua = toUtf16(a), ub = toUtf16(b);
    const UCollationResult r = icu().strcoll(collator(), ua.data(), static_cast<int32_t>(ua.size()), ub.data(),
                                             static_cast<int32_t>(ub.size()));
    return r == UCOL_LESS ? -1 : (r == UCOL_EQUAL ? 0 : 1);
}

bool collateLess(std::string_view a, std::string_view b) { return collate(a, b) < 0; }

std::string collationKey(std::string_view s) {
    const std::u16string w = toUtf16(s);
    const int32_t chars = static_cast<int32_t>(w.size());
    UCollator* coll = collator();
    std::vector<uint8_t> buf(s.size() * 4 + 16);
    int32_t len = icu().getSortKey(coll, w.data(), chars, buf.data(), static_cast<int32_t>(buf.size()));
    if (len > static_cast<int32_t>(buf.size())) {
        buf.resize(static_cast<size_t>(len));
        len = icu().getSortKey(coll, w.data(), chars, buf.data(), len);
    }
    // The key ends in a zero byte that adds nothing to the order.
    if (len > 0 && buf[static_cast<size_t>(len) - 1] == 0) --len;
    return std::string(reinterpret_cast<const char*>(buf.data()), static_cast<size_t>(len));
}

}  // namespace athanor
