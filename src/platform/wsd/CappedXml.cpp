#include "platform/wsd/CappedXml.h"

#include <QXmlStreamReader>

namespace vn::wsd {

bool CappedXml::Read(std::string_view document, std::size_t maxBytes, const StartHandler& onStart,
                     const EndHandler& onEnd) {
    declarations_.clear();
    if (document.size() > maxBytes)
        return false;
    QXmlStreamReader reader(QByteArray::fromRawData(document.data(), static_cast<qsizetype>(document.size())));
    std::vector<XmlName> path;
    std::vector<QString> texts;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::DTD:
        case QXmlStreamReader::EntityReference: return false;
        case QXmlStreamReader::StartElement: {
            if (path.size() >= kMaxDepth)
                return false;
            path.push_back({reader.namespaceUri().toString(), reader.name().toString()});
            texts.emplace_back();
            for (const QXmlStreamNamespaceDeclaration& declared : reader.namespaceDeclarations())
                declarations_.push_back(
                    {path.size(), declared.prefix().toString(), declared.namespaceUri().toString()});
            if (!onStart(path))
                return true;
            break;
        }
        case QXmlStreamReader::Characters:
            if (!texts.empty()) {
                if (texts.back().size() + reader.text().size() > kMaxText)
                    return false;
                texts.back() += reader.text();
            }
            break;
        case QXmlStreamReader::EndElement: {
            if (!onEnd(path, texts.back()))
                return true;
            while (!declarations_.empty() && declarations_.back().depth == path.size())
                declarations_.pop_back();
            path.pop_back();
            texts.pop_back();
            break;
        }
        default: break;
        }
    }
    return !reader.hasError();
}

QString CappedXml::Resolve(const QString& prefix) const {
    for (auto it = declarations_.rbegin(); it != declarations_.rend(); ++it) {
        if (it->prefix == prefix)
            return it->ns;
    }
    return {};
}

}  // namespace vn::wsd
