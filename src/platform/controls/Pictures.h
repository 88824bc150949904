#pragma once

#include "ControlProperties.h"

#include <QIcon>
#include <QLabel>
#include <QList>
#include <QObject>

namespace bryx {

// A picture of the desktop's icon theme by its freedesktop name ("edit-cut", "document-save").
// Where the desktop names no theme, or its theme lacks the picture, Debian's default theme
// (Adwaita) stands in. A null icon when no installed theme has the name.
QIcon ThemeIcon(const QString& name);

// Pictures by key, as toolbars and busy indicators take them.
class ImageList : public QObject {
    Q_OBJECT
    Q_PROPERTY(int Count READ Count)
    Q_PROPERTY(QString TypeName READ TypeName CONSTANT)
public:
    using QObject::QObject;
    QString TypeName() const { return QStringLiteral("ImageList"); }

    void Add(const QString& key, const QIcon& picture);
    int Count() const { return int(m_images.size()); }
    bool Contains(const QString& key) const;
    // The picture stored under the key (case-insensitive); error 35601 when there is none.
    QIcon ListImages(const QString& key) const;

private:
    QList<std::pair<QString, QIcon>> m_images;
};

// A picture box: shows one picture and can hold other controls as a frame.
class PictureBox : public QLabel {
    Q_OBJECT
    BRYX_CONTROL_PROPERTIES
    Q_PROPERTY(QPixmap Picture READ Picture WRITE SetPicture)
public:
    explicit PictureBox(QWidget* parent = nullptr);
    QString TypeName() const { return QStringLiteral("PictureBox"); }
    QPixmap Picture() const { return pixmap(); }
    void SetPicture(const QPixmap& picture) { setPixmap(picture); }
    void SetPicture(const QIcon& icon);

private:
    QString m_tag;
};

} // namespace bryx
