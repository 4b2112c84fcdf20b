// json.hpp: just enough JSON writing to hand a window's design to the page in one message.
#pragma once

#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>

namespace numerak::web {

class Json {
public:
    Json& begin(char bracket) {
        comma();
        text_ += bracket;
        first_ = true;
        return *this;
    }
    Json& end(char bracket) {
        text_ += bracket;
        first_ = false;
        return *this;
    }
    Json& key(std::string_view name) {
        comma();
        quote(name);
        text_ += ':';
        first_ = true;
        return *this;
    }
    Json& value(std::string_view s) {
        comma();
        quote(s);
        return *this;
    }
    Json& value(const char* s) { return value(std::string_view(s)); }
    Json& value(long long n) {
        comma();
        text_ += std::to_string(n);
        return *this;
    }
    Json& value(int n) { return value(static_cast<long long>(n)); }
    // A finite number, as exactly as JSON readers take it back.
    Json& value(double d) {
        comma();
        char digits[32];
        std::snprintf(digits, sizeof digits, "%.17g", std::isfinite(d) ? d : 0.0);
        text_ += digits;
        return *this;
    }
    Json& value(bool b) {
        comma();
        text_ += b ? "true" : "false";
        return *this;
    }
    Json& null() {
        comma();
        text_ += "null";
        return *this;
    }
    template <class T>
    Json& field(std::string_view name, T v) {
        return key(name).value(v);
    }
    const std::string& str() const { return text_; }

private:
    void comma() {
        if (!first_) text_ += ',';
        first_ = false;
    }
    void quote(std::string_view s) {
        text_ += '"';
        for (const char c : s) {
            const auto u = static_cast<unsigned char>(c);
            if (c == '"' || c == '\\') {
                text_ += '\\';
                text_ += c;
            } else if (u < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", u);
                text_ += escaped;
            } else {
                text_ += c;  // UTF-8 passes as it is
            }
        }
        text_ += '"';
    }

    std::string text_;
    bool first_ = true;
};

}  // namespace numerak::web
