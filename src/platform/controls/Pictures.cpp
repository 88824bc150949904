#include "Pictures.h"

#include "error/Error.h"

#include <algorithm>

namespace bryx {

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
