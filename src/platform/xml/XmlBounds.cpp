#include "XmlBounds.h"

#include <QXmlStreamReader>

namespace bryx {

bool XmlBounds::acceptable(const QString& xml)
{
    if (xml.size() > MaxCharacters)
        return false;
    QXmlStreamReader reader(xml);
    int depth = 0;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement:
            if (++depth > MaxDepth)
                return false;
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        default:
            break;
        }
    }
    return !reader.hasError();
}

} // namespace bryx
