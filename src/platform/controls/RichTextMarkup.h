#pragma once

#include <QString>

class QTextDocument;

namespace bryx {

// Formatted text as the rich-text boxes store it: plain characters with a small HTML subset
// around them — <b>, <i>, <u>, <sup>, <sub> and <br>. The stored form stays readable and
// lossless for plain text: '<' and '&' are escaped only where they would otherwise read as a
// tag or an entity, so "L. & Sm." is stored as itself, and text that merely looks odd (an
// unknown tag, a lone '<') is kept literally rather than rejected.
namespace RichTextMarkup {

// Replaces the document's content by the stored text.
void toDocument(const QString& markup, QTextDocument& document);
// The document's content in stored form; adjacent runs with one format share one tag set.
QString fromDocument(const QTextDocument& document);
// The characters alone, tags dropped and entities decoded.
QString plainText(const QString& markup);
// Unformatted text in stored form: it reads back as exactly these characters.
QString fromPlainText(const QString& text);

} // namespace RichTextMarkup

} // namespace bryx
