#include "RichTextMarkup.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <array>
#include <optional>
#include <vector>

namespace bryx::RichTextMarkup {

namespace {

enum class Style { Bold, Italic, Underline, Superscript, Subscript };
constexpr std::array<std::pair<Style, QLatin1StringView>, 5> tagNames {{
    {Style::Bold, QLatin1StringView("b")},
    {Style::Italic, QLatin1StringView("i")},
    {Style::Underline, QLatin1StringView("u")},
    {Style::Superscript, QLatin1StringView("sup")},
    {Style::Subscript, QLatin1StringView("sub")},
}};

struct Entity {
    QLatin1StringView text;
    QChar character;
};
constexpr std::array<Entity, 5> entities {{
    {QLatin1StringView("&amp;"), QLatin1Char('&')},
    {QLatin1StringView("&lt;"), QLatin1Char('<')},
    {QLatin1StringView("&gt;"), QLatin1Char('>')},
    {QLatin1StringView("&quot;"), QLatin1Char('"')},
    {QLatin1StringView("&#39;"), QLatin1Char('\'')},
}};

struct Tag {
    enum class Kind { Open, Close, LineBreak } kind;
    Style style = Style::Bold;
    qsizetype length = 0;
};

// The tag starting at `at`, if the text there is one of ours.
std::optional<Tag> tagAt(const QString& text, qsizetype at)
{
    if (text.at(at) != QLatin1Char('<'))
        return std::nullopt;
    const qsizetype end = text.indexOf(QLatin1Char('>'), at);
    if (end < 0)
        return std::nullopt;
    // Exact spellings only: "a < b > c" is a comparison, not a bold tag.
    QString inner = text.mid(at + 1, end - at - 1).toLower();
    const qsizetype length = end - at + 1;
    if (inner == QLatin1String("br") || inner == QLatin1String("br/") || inner == QLatin1String("br /"))
        return Tag {Tag::Kind::LineBreak, Style::Bold, length};
    const bool closing = inner.startsWith(QLatin1Char('/'));
    if (closing)
        inner.remove(0, 1);
    for (const auto& [style, name] : tagNames) {
        if (inner == name)
            return Tag {closing ? Tag::Kind::Close : Tag::Kind::Open, style, length};
    }
    return std::nullopt;
}

std::optional<Entity> entityAt(const QString& text, qsizetype at)
{
    for (const Entity& entity : entities) {
        if (QStringView(text).mid(at).startsWith(entity.text, Qt::CaseInsensitive))
            return entity;
    }
    return std::nullopt;
}

void applyStyle(QTextCharFormat& format, Style style, bool on)
{
    switch (style) {
    case Style::Bold:
        format.setFontWeight(on ? QFont::Bold : QFont::Normal);
        break;
    case Style::Italic:
        format.setFontItalic(on);
        break;
    case Style::Underline:
        format.setFontUnderline(on);
        break;
    case Style::Superscript:
        format.setVerticalAlignment(on ? QTextCharFormat::AlignSuperScript : QTextCharFormat::AlignNormal);
        break;
    case Style::Subscript:
        format.setVerticalAlignment(on ? QTextCharFormat::AlignSubScript : QTextCharFormat::AlignNormal);
        break;
    }
}

bool hasStyle(const QTextCharFormat& format, Style style)
{
    switch (style) {
    case Style::Bold:
        return format.fontWeight() >= QFont::Bold;
    case Style::Italic:
        return format.fontItalic();
    case Style::Underline:
        return format.fontUnderline();
    case Style::Superscript:
        return format.verticalAlignment() == QTextCharFormat::AlignSuperScript;
    case Style::Subscript:
        return format.verticalAlignment() == QTextCharFormat::AlignSubScript;
    }
    return false;
}

// Escapes only what the reader would otherwise take for markup.
QString escaped(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('<') && tagAt(text, i))
            out += QLatin1String("&lt;");
        else if (c == QLatin1Char('&') && entityAt(text, i))
            out += QLatin1String("&amp;");
        else if (c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            out += QLatin1String("<br>");
        else
            out += c;
    }
    return out;
}

// Walks the stored text, handing each run of characters to `text` with its format.
template<typename TextSink> void parse(const QString& markup, TextSink&& text)
{
    QTextCharFormat format;
    QString run;
    auto flush = [&] {
        if (!run.isEmpty())
            text(run, format);
        run.clear();
    };
    for (qsizetype i = 0; i < markup.size();) {
        if (const auto tag = tagAt(markup, i)) {
            flush();
            if (tag->kind == Tag::Kind::LineBreak)
                text(QStringLiteral("\n"), format);
            else
                applyStyle(format, tag->style, tag->kind == Tag::Kind::Open);
            i += tag->length;
        } else if (const auto entity = entityAt(markup, i)) {
            run += entity->character;
            i += entity->text.size();
        } else {
            run += markup.at(i);
            ++i;
        }
    }
    flush();
}

} // namespace

void toDocument(const QString& markup, QTextDocument& document)
{
    document.clear();
    QTextCursor cursor(&document);
    parse(markup, [&](const QString& run, const QTextCharFormat& format) { cursor.insertText(run, format); });
}

QString fromDocument(const QTextDocument& document)
{
    // Runs are merged by the styles we keep, so formats that differ only in what the stored
    // form cannot say (a font family from a paste) do not split a tag.
    struct Run {
        QString text;
        unsigned styles = 0;
    };
    std::vector<Run> runs;
    auto append = [&](const QString& text, unsigned styles) {
        if (!runs.empty() && runs.back().styles == styles)
            runs.back().text += text;
        else
            runs.push_back({text, styles});
    };
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block != document.begin())
            append(QStringLiteral("\n"), 0);
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            unsigned styles = 0;
            for (size_t s = 0; s < tagNames.size(); ++s) {
                if (hasStyle(fragment.charFormat(), tagNames[s].first))
                    styles |= 1u << s;
            }
            append(fragment.text(), styles);
        }
    }
    QString out;
    for (const Run& run : runs) {
        QString open;
        QString close;
        for (size_t s = 0; s < tagNames.size(); ++s) {
            if (run.styles & (1u << s)) {
                open += QLatin1Char('<') + tagNames[s].second + QLatin1Char('>');
                close.prepend(QLatin1String("</") + tagNames[s].second + QLatin1Char('>'));
            }
        }
        out += open + escaped(run.text) + close;
    }
    return out;
}

QString fromPlainText(const QString& text)
{
    return escaped(QString(text).replace(QLatin1Char('\n'), QChar::LineSeparator));
}

QString plainText(const QString& markup)
{
    QString out;
    parse(markup, [&](const QString& run, const QTextCharFormat&) { out += run; });
    return out;
}

} // namespace bryx::RichTextMarkup
