#include "ui/BitmapButton.h"

#include "pictures/PngImage.h"
#include "pictures/ResourceIcon.h"

namespace vn {

BitmapButton::BitmapButton(int pictureId, const QString& text, QWidget* parent) : QToolButton(parent) {
    setText(text);
    setAutoRaise(true);
    setToolButtonStyle(text.isEmpty() ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextBesideIcon);
    SetPicture(pictureId);
    connect(this, &QToolButton::clicked, this, [this] { emit commandTriggered(commandId_); });
}

void BitmapButton::SetPicture(int pictureId) {
    pictureId_ = pictureId;
    const QImage picture = LoadPngResource(pictureId);
    setIcon(ResourceIcon(pictureId));
    // The picture is shown at the size it was drawn for.
    if (!picture.isNull())
        setIconSize(picture.size());
}

}  // namespace vn
