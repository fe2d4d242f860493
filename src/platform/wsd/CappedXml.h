#pragma once

#include <QString>
#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

namespace vn::wsd {

// One element of the path from the document's root, by namespace and name.
struct XmlName {
    QString ns;
    QString name;
    bool Is(const QString& wantedNs, const char* wantedName) const {
        return ns == wantedNs && name == QLatin1String(wantedName);
    }
};

// Reads a document from the network with Qt's stream reader, which expands no
// entities and fetches nothing; on top of that a document type declaration
// refuses the document (no entity can be declared), as does one longer than
// maxBytes, nested deeper than kMaxDepth or with an element's text longer than
// kMaxText. Calls onStart and onEnd with the path to the element (itself
// last), onEnd with its text as well; either returns false to stop reading
// (the result is true then). A prefix used in text is resolved with Resolve
// while onEnd runs.
class CappedXml {
public:
    static constexpr std::size_t kMaxDepth = 32;
    static constexpr qsizetype kMaxText = 4096;

    using StartHandler = std::function<bool(const std::vector<XmlName>& path)>;
    using EndHandler = std::function<bool(const std::vector<XmlName>& path, const QString& text)>;

    // False when the document is refused or not well-formed.
    bool Read(std::string_view document, std::size_t maxBytes, const StartHandler& onStart, const EndHandler& onEnd);

    // The namespace a prefix stands for where the current element is; empty
    // when it is not declared.
    QString Resolve(const QString& prefix) const;

private:
    struct Declaration {
        std::size_t depth;
        QString prefix;
        QString ns;
    };
    std::vector<Declaration> declarations_;
};

}  // namespace vn::wsd
