#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vn::cli {

// The members of a flat object, all strings, in order.
using JsonStringMembers = std::vector<std::pair<std::string_view, std::string>>;

// text as a JSON string, quotes included. Everything that could upset a
// reader or a terminal is escaped: quotes, backslashes, C0 and C1 control
// characters, DEL and U+2028/U+2029. Bytes that are not UTF-8 become U+FFFD,
// so the result is always valid UTF-8 whatever the network or registry gave.
std::string JsonQuoted(std::string_view text);

// Writes one JSON object as one line: the members in the order they are
// added, then "}" and a line break when End is called (or on destruction).
// Each line is flushed, so a pipeline sees each result as soon as it is
// made, unless the writer of many lines at once asks otherwise.
class JsonObjectWriter {
public:
    enum class LineEnd { Flush, Buffer };

    explicit JsonObjectWriter(std::ostream& out, LineEnd end = LineEnd::Flush);
    ~JsonObjectWriter();
    JsonObjectWriter(const JsonObjectWriter&) = delete;
    JsonObjectWriter& operator=(const JsonObjectWriter&) = delete;

    JsonObjectWriter& String(std::string_view key, std::string_view value);
    // null when there is no value.
    JsonObjectWriter& StringOrNull(std::string_view key, const std::optional<std::string>& value);
    JsonObjectWriter& Bool(std::string_view key, bool value);
    JsonObjectWriter& StringArray(std::string_view key, const std::vector<std::string>& values);
    // An array of flat objects whose members are strings.
    JsonObjectWriter& ObjectArray(std::string_view key, const std::vector<JsonStringMembers>& objects);

    void End();

private:
    std::ostream& Member(std::string_view key);

    std::ostream& out_;
    LineEnd end_;
    bool first_ = true;
    bool ended_ = false;
};

}  // namespace vn::cli
