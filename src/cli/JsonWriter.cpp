#include "cli/JsonWriter.h"

#include <algorithm>
#include <cstdio>

#include "cli/Utf8Scan.h"

namespace vn::cli {
namespace {

void AppendUnicodeEscape(std::string& out, char32_t code) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "\\u%04x", static_cast<unsigned>(code));
    out += buffer;
}

void AppendCharacter(std::string& out, const Utf8Piece& piece) {
    if (!piece.valid) {
        out += "\\ufffd";
        return;
    }
    switch (piece.codePoint) {
    case '"': out += "\\\""; return;
    case '\\': out += "\\\\"; return;
    case '\b': out += "\\b"; return;
    case '\f': out += "\\f"; return;
    case '\n': out += "\\n"; return;
    case '\r': out += "\\r"; return;
    case '\t': out += "\\t"; return;
    default: break;
    }
    const char32_t code = piece.codePoint;
    const bool control = code < 0x20 || (code >= 0x7F && code <= 0x9F);
    // Line and paragraph separators end lines for some readers of JSON text.
    if (control || code == 0x2028 || code == 0x2029) {
        AppendUnicodeEscape(out, code);
        return;
    }
    out += piece.bytes;
}

}  // namespace

std::string JsonQuoted(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    out += '"';
    // Most texts are printable ASCII, which stands as it is.
    const bool plain =
        std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c < 0x7F && c != '"' && c != '\\'; });
    if (plain)
        out += text;
    else
        ScanUtf8(text, [&](const Utf8Piece& piece) { AppendCharacter(out, piece); });
    out += '"';
    return out;
}

JsonObjectWriter::JsonObjectWriter(std::ostream& out, LineEnd end) : out_(out), end_(end) { out_ << '{'; }

JsonObjectWriter::~JsonObjectWriter() { End(); }

std::ostream& JsonObjectWriter::Member(std::string_view key) {
    if (!first_)
        out_ << ',';
    first_ = false;
    return out_ << JsonQuoted(key) << ':';
}

JsonObjectWriter& JsonObjectWriter::String(std::string_view key, std::string_view value) {
    Member(key) << JsonQuoted(value);
    return *this;
}

JsonObjectWriter& JsonObjectWriter::StringOrNull(std::string_view key, const std::optional<std::string>& value) {
    if (value)
        Member(key) << JsonQuoted(*value);
    else
        Member(key) << "null";
    return *this;
}

JsonObjectWriter& JsonObjectWriter::Bool(std::string_view key, bool value) {
    Member(key) << (value ? "true" : "false");
    return *this;
}

JsonObjectWriter& JsonObjectWriter::StringArray(std::string_view key, const std::vector<std::string>& values) {
    std::ostream& out = Member(key);
    out << '[';
    for (std::size_t i = 0; i < values.size(); ++i)
        out << (i ? "," : "") << JsonQuoted(values[i]);
    out << ']';
    return *this;
}

JsonObjectWriter& JsonObjectWriter::ObjectArray(std::string_view key, const std::vector<JsonStringMembers>& objects) {
    std::ostream& out = Member(key);
    out << '[';
    for (std::size_t i = 0; i < objects.size(); ++i) {
        out << (i ? ",{" : "{");
        for (std::size_t m = 0; m < objects[i].size(); ++m)
            out << (m ? "," : "") << JsonQuoted(objects[i][m].first) << ':' << JsonQuoted(objects[i][m].second);
        out << '}';
    }
    out << ']';
    return *this;
}

void JsonObjectWriter::End() {
    if (ended_)
        return;
    ended_ = true;
    out_ << "}\n";
    if (end_ == LineEnd::Flush)
        out_.flush();
}

}  // namespace vn::cli
