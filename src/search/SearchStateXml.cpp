#include "SearchStateXml.h"

#include "xml/XmlBounds.h"

#include <QDomDocument>

namespace bryx::SearchStateXml {

namespace {

// The document the writers start from: BRYX holding one empty element with the control name.
QDomElement startDocument(QDomDocument& document, const QString& elementName)
{
    QDomElement root = document.createElement(QStringLiteral("BRYX"));
    document.appendChild(root);
    QDomElement element = document.createElement(elementName);
    element.setAttribute(QStringLiteral("control"), QLatin1String(ControlName));
    root.appendChild(element);
    return element;
}

void appendText(QDomDocument& document, QDomElement& parent, const QString& name, const QString& text)
{
    QDomElement child = document.createElement(name);
    child.appendChild(document.createTextNode(text));
    parent.appendChild(child);
}

QString serialised(const QDomDocument& document)
{
    return document.toString(-1);
}

// The first element at BRYX/<name>, or a null element.
QDomElement locate(const QString& xml, const QString& name, QDomDocument& document)
{
    if (!XmlBounds::acceptable(xml) || !document.setContent(xml))
        return {};
    const QDomElement root = document.documentElement();
    if (root.tagName() != QLatin1String("BRYX"))
        return {};
    return root.firstChildElement(name);
}

std::optional<QString> childText(const QDomElement& parent, const char* name)
{
    const QDomElement child = parent.firstChildElement(QLatin1String(name));
    if (child.isNull())
        return std::nullopt;
    return child.text();
}

} // namespace

QString NameTypeCaption(int nameTypeIndex)
{
    switch (nameTypeIndex) {
    case 0:
        return QStringLiteral("Botanical...");
    case 1:
        return QStringLiteral("Zoological...");
    default:
        return QStringLiteral("Ecological...");
    }
}

int NameTypeIndex(const QString& caption)
{
    if (caption == QLatin1String("Botanical..."))
        return 0;
    if (caption == QLatin1String("Zoological..."))
        return 1;
    if (caption == QLatin1String("Ecological..."))
        return 2;
    return -1;
}

QString BuildSearchState(const SearchCriteria& criteria)
{
    QDomDocument document;
    QDomElement state = startDocument(document, QStringLiteral("SEARCH_STATE"));
    appendText(document, state, QStringLiteral("NAME_TYPE_DESC"), NameTypeCaption(criteria.nameTypeIndex));
    if (!criteria.category.isEmpty())
        appendText(document, state, QStringLiteral("NAME_CATEGORY"), criteria.category);
    if (!criteria.classificationLevel.isEmpty())
        appendText(document, state, QStringLiteral("CLASSIFICATION_LEVEL"), criteria.classificationLevel);
    if (!criteria.idText.isEmpty())
        appendText(document, state, QStringLiteral("ID"), criteria.idText);
    appendText(document, state, QStringLiteral("COMPARISON_OPERATION"), QString::number(criteria.comparison));
    if (!criteria.nameText.isEmpty())
        appendText(document, state, QStringLiteral("SCIENTIFIC_NAME"), criteria.nameText);
    return serialised(document);
}

QString BuildSearchProperties(bool saveOnExit)
{
    QDomDocument document;
    QDomElement properties = startDocument(document, QStringLiteral("SEARCH_PROPERTIES"));
    appendText(document, properties, QStringLiteral("SAVE_ON_EXIT"),
               saveOnExit ? QStringLiteral("True") : QStringLiteral("False"));
    return serialised(document);
}

std::optional<SavedState> ReadSearchState(const QString& xml)
{
    QDomDocument document;
    const QDomElement state = locate(xml, QStringLiteral("SEARCH_STATE"), document);
    if (state.isNull())
        return std::nullopt;
    return SavedState {childText(state, "NAME_TYPE_DESC"),       childText(state, "NAME_CATEGORY"),
                       childText(state, "CLASSIFICATION_LEVEL"), childText(state, "ID"),
                       childText(state, "COMPARISON_OPERATION"), childText(state, "SCIENTIFIC_NAME")};
}

std::optional<bool> ReadSaveOnExit(const QString& xml)
{
    QDomDocument document;
    const QDomElement properties = locate(xml, QStringLiteral("SEARCH_PROPERTIES"), document);
    if (properties.isNull())
        return std::nullopt;
    const std::optional<QString> text = childText(properties, "SAVE_ON_EXIT");
    if (text == QLatin1String("True"))
        return true;
    if (text == QLatin1String("False"))
        return false;
    return std::nullopt;
}

} // namespace bryx::SearchStateXml
