#pragma once
#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>

namespace athanor::cli {

// A small streaming JSON writer: enough for flat documents and arrays of objects.
class Json {
public:
    Json& beginObject() {
        separate();
        out_ += '{';
        first_ = true;
        return *this;
    }
    Json& endObject() {
        out_ += '}';
        first_ = false;
        return *this;
    }
    Json& beginArray() {
        separate();
        out_ += '[';
        first_ = true;
        return *this;
    }
    Json& endArray() {
        out_ += ']';
        first_ = false;
        return *this;
    }

    Json& key(std::string_view k) {
        separate();
        quote(k);
        out_ += ':';
        first_ = true;  // the value that follows takes no comma
        return *this;
    }

    Json& value(long double v) {
        separate();
        if (!std::isfinite(v)) {
            out_ += "null";
        } else {
            char buf[64];
            std::snprintf(buf, sizeof buf, "%.17Lg", v);
            out_ += buf;
        }
        return *this;
    }
    Json& value(double v) { return value(static_cast<long double>(v)); }
    Json& value(int v) {
        separate();
        out_ += std::to_string(v);
        return *this;
    }
    Json& value(long v) {
        separate();
        out_ += std::to_string(v);
        return *this;
    }
    Json& value(long long v) {
        separate();
        out_ += std::to_string(v);
        return *this;
    }
    Json& value(bool v) {
        separate();
        out_ += v ? "true" : "false";
        return *this;
    }
    // Strings are UTF-8.
    Json& value(std::string_view s) {
        separate();
        quote(s);
        return *this;
    }
    Json& value(const char* s) { return value(std::string_view(s)); }
    Json& value(const std::string& s) { return value(std::string_view(s)); }

    template <typename T>
    Json& field(std::string_view k, const T& v) {
        key(k);
        return value(v);
    }

    const std::string& str() const { return out_; }

private:
    void separate() {
        if (!first_) out_ += ',';
        first_ = false;
    }
    void quote(std::string_view s) {
        out_ += '"';
        for (unsigned char c : s) {
            switch (c) {
            case '"':
                out_ += "\\\"";
                break;
            case '\\':
                out_ += "\\\\";
                break;
            case '\n':
                out_ += "\\n";
                break;
            case '\r':
                out_ += "\\r";
                break;
            case '\t':
                out_ += "\\t";
                break;
            default:
                if (c < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out_ += buf;
                } else {
                    out_ += static_cast<char>(c);
                }
            }
        }
        out_ += '"';
    }

    std::string out_;
    bool first_ = true;
};

}  // namespace athanor::cli
