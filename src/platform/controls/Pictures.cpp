#include "Pictures.h"

#include "error/Error.h"

#include <QStandardPaths>
#include <algorithm>

namespace bryx {

namespace {

const QString DebianDefaultTheme = QStringLiteral("Adwaita");

// A desktop session names its icon theme. A bare X server, the offscreen platform or a host
// that never set one names none, or only the unthemed "hicolor", and may not even look in the
// system's icon folders; then Debian's default theme is used from those folders. A desktop
// theme that lacks a picture falls back to the same theme.
void useDebianThemeWhereTheDesktopHasNone()
{
    if (QIcon::fallbackThemeName().isEmpty() || QIcon::fallbackThemeName() == QLatin1String("hicolor"))
        QIcon::setFallbackThemeName(DebianDefaultTheme);
    const QString theme = QIcon::themeName();
    if (!theme.isEmpty() && theme != QLatin1String("hicolor"))
        return;
    QIcon::setThemeName(DebianDefaultTheme);
    QStringList folders = QIcon::themeSearchPaths();
    for (const QString& folder : QStandardPaths::locateAll(
             QStandardPaths::GenericDataLocation, QStringLiteral("icons"), QStandardPaths::LocateDirectory)) {
        if (!folders.contains(folder))
            folders << folder;
    }
    QIcon::setThemeSearchPaths(folders);
}

} // namespace

QIcon ThemeIcon(const QString& name)
{
    QIcon icon = QIcon::fromTheme(name);
    if (icon.isNull()) {
        useDebianThemeWhereTheDesktopHasNone();
        icon = QIcon::fromTheme(name);
    }
    return icon;
}

void ImageList::Add(const QString& key, const QIcon& picture)
{
    if (Contains(key))
        throw Error(ErrorNumber::DuplicateKey,
                    QStringLiteral("ImageList: the key \"%1\" is already in use").arg(key));
    m_images.append({key, picture});
}

bool ImageList::Contains(const QString& key) const
{
    return std::any_of(m_images.cbegin(), m_images.cend(),
                       [&](const auto& image) { return image.first.compare(key, Qt::CaseInsensitive) == 0; });
}

QIcon ImageList::ListImages(const QString& key) const
{
    for (const auto& [imageKey, picture] : m_images) {
        if (imageKey.compare(key, Qt::CaseInsensitive) == 0)
            return picture;
    }
    throw Error(ErrorNumber::ElementNotFound,
                QStringLiteral("ImageList: no picture has the key \"%1\"").arg(key));
}

PictureBox::PictureBox(QWidget* parent)
    : QLabel(parent)
{
    setAlignment(Qt::AlignCenter);
}

void PictureBox::SetPicture(const QIcon& icon)
{
    const QSize size = icon.availableSizes().isEmpty() ? QSize(32, 32) : icon.availableSizes().first();
    setPixmap(icon.pixmap(size));
}

} // namespace bryx
