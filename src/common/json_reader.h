#pragma once
// A small reader of JSON text (as helper programs print it): whole documents only, nesting
// bounded, anything malformed refused.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace common::json {

struct Value {
    enum Kind { Null, Bool, Number, String, Array, Object };
    Kind kind = Null;
    bool boolean = false;
    double number = 0;
    std::string text;
    std::vector<Value> items;
    std::vector<std::pair<std::string, Value>> members;

    // The member called key; a null value when there is none or this is not an object.
    const Value& operator[](std::string_view key) const;
    // The text of a string value, else fallback.
    std::string str(std::string fallback = {}) const;
    // The number of a number value, else fallback.
    double num(double fallback = 0) const;
    bool isNumber() const { return kind == Number; }
};

// The value of a whole JSON document; nothing when the text is not one.
std::optional<Value> parse(std::string_view text);

} // namespace common::json
